#include "document/templatelines.h"
#include "tests/document/memorystreams.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace resipa {
namespace {

using namespace std::string_literals;

std::vector<std::string> readAllByNext(ByteSource& source, std::size_t bufferSize) {
    TemplateLineReader reader(source, bufferSize);
    std::vector<std::string> lines;
    std::string line;
    TemplateLineReader::Status status;
    while ((status = reader.next(line)) == TemplateLineReader::Status::Line) {
        lines.push_back(line);
    }
    EXPECT_EQ(status, TemplateLineReader::Status::End);
    EXPECT_EQ(reader.next(line), TemplateLineReader::Status::End) << "End must stay End";
    return lines;
}

std::vector<std::string> readAllByAtEnd(ByteSource& source, std::size_t bufferSize) {
    TemplateLineReader reader(source, bufferSize);
    std::vector<std::string> lines;
    std::string line;
    while (!reader.atEnd()) {
        EXPECT_EQ(reader.next(line), TemplateLineReader::Status::Line);
        lines.push_back(line);
    }
    EXPECT_FALSE(reader.failed());
    return lines;
}

struct SplitCase {
    const char* name;
    std::string input;
    std::vector<std::string> lines;
};

class TemplateLineSplit : public testing::TestWithParam<SplitCase> {};

TEST_P(TemplateLineSplit, YieldsTheLinesAtEveryBufferAndChunkSize) {
    const SplitCase& c = GetParam();
    for (const std::size_t bufferSize : {1u, 2u, 3u, 4u, 7u, 65536u}) {
        for (const std::size_t maxChunk : {1u, 2u, 3u, 65536u}) {
            SCOPED_TRACE("buffer " + std::to_string(bufferSize) + ", chunk " +
                         std::to_string(maxChunk));
            MemorySource bySource(c.input, maxChunk);
            EXPECT_EQ(readAllByNext(bySource, bufferSize), c.lines);
            MemorySource byAtEnd(c.input, maxChunk);
            EXPECT_EQ(readAllByAtEnd(byAtEnd, bufferSize), c.lines);
        }
    }
}

TEST_P(TemplateLineSplit, PiecesReassembleTheLines) {
    const SplitCase& c = GetParam();
    for (const std::size_t bufferSize : {1u, 2u, 3u, 5u, 65536u}) {
        SCOPED_TRACE("buffer " + std::to_string(bufferSize));
        MemorySource source(c.input, 65536);
        TemplateLineReader reader(source, bufferSize);
        std::vector<std::string> lines;
        std::string current;
        std::string piece;
        bool lineEnded = false;
        while (!reader.atEnd()) {
            ASSERT_EQ(reader.nextPiece(piece, lineEnded), TemplateLineReader::Status::Line);
            current += piece;
            if (lineEnded) {
                lines.push_back(std::exchange(current, {}));
            }
        }
        EXPECT_EQ(reader.nextPiece(piece, lineEnded), TemplateLineReader::Status::End);
        EXPECT_EQ(lines, c.lines);
        EXPECT_TRUE(current.empty()) << "a line was left without its end";
    }
}

TEST_P(TemplateLineSplit, CopiedThroughTheWriterEndsEveryLineWithCrLf) {
    const SplitCase& c = GetParam();
    std::string expected;
    for (const std::string& line : c.lines) {
        expected += line + "\r\n";
    }
    for (const std::size_t bufferSize : {1u, 3u, 65536u}) {
        SCOPED_TRACE("buffer " + std::to_string(bufferSize));
        MemorySource source(c.input, 65536);
        LimitedSink sink;
        TemplateLineReader reader(source, bufferSize);
        TemplateLineWriter writer(sink, bufferSize);
        std::string line;
        while (reader.next(line) == TemplateLineReader::Status::Line) {
            ASSERT_TRUE(writer.writeLine(line));
        }
        ASSERT_TRUE(writer.flush());
        EXPECT_EQ(sink.received, expected);
    }
}

const std::string longLine(200000, 'x');

INSTANTIATE_TEST_SUITE_P(
    Cases, TemplateLineSplit,
    testing::Values(
        SplitCase{"Empty", "", {}}, SplitCase{"FinalCrLf", "abc\r\n", {"abc"}},
        SplitCase{"CrLfLines", "{\\rtf1\r\n\\par x\r\n}\r\n", {"{\\rtf1", "\\par x", "}"}},
        SplitCase{"NoTerminator", "abc\r\ndef", {"abc", "def"}},
        SplitCase{"LoneCr", "a\rb\rc", {"a", "b", "c"}},
        SplitCase{"LfOnlyIsOneLine", "a\nb\nc\n", {"a\nb\nc\n"}},
        SplitCase{"LfCrIsLfThenTerminator", "a\n\rb", {"a\n", "b"}},
        SplitCase{"EmptyLines", "\r\n\r\r\n", {"", "", ""}},
        SplitCase{"CrCrLf", "a\r\r\nb", {"a", "", "b"}}, SplitCase{"OnlyCr", "\r", {""}},
        SplitCase{"OnlyLf", "\n", {"\n"}}, SplitCase{"NulBytes", "a\0b\r\n\0"s, {"a\0b"s, "\0"s}},
        SplitCase{"NonUtf8Bytes", "caf\xE9 \x80\xFF\r\n\xC3", {"caf\xE9 \x80\xFF", "\xC3"}},
        SplitCase{"LongLine", longLine + "\r\nz", {longLine, "z"}},
        SplitCase{"LongLfOnlyLine",
                  "{\\par a}\n" + longLine + "\n{\\b [NAMA]}\n",
                  {"{\\par a}\n" + longLine + "\n{\\b [NAMA]}\n"}}),
    [](const testing::TestParamInfo<SplitCase>& info) { return info.param.name; });

TEST(TemplateLineReader, PiecesEndOnlyWhereNothingCanStraddleThem) {
    const std::string input = "{\\rtf1 {\\b\\fs24 [NAMA]} [KOTA]-[JUMLAH] \\'e9 x_[ACC]}\n";
    for (const std::size_t bufferSize : {1u, 2u, 3u, 4u, 8u}) {
        SCOPED_TRACE("buffer " + std::to_string(bufferSize));
        MemorySource source(input + input + input, 65536);
        TemplateLineReader reader(source, bufferSize);
        std::string piece;
        bool lineEnded = false;
        std::size_t pieces = 0;
        while (reader.nextPiece(piece, lineEnded) == TemplateLineReader::Status::Line) {
            ++pieces;
            if (lineEnded) {
                continue;
            }
            ASSERT_FALSE(piece.empty());
            const std::string allowedEnds = " {}\n;'";
            EXPECT_NE(allowedEnds.find(piece.back()), std::string::npos) << piece;
        }
        EXPECT_GT(pieces, 3u) << "a long line must come in pieces";
    }
}

struct ReadFailureCase {
    const char* name;
    std::string input;
    std::size_t failAt;
    std::string sourceError;
    std::vector<std::string> linesBefore;
    std::string errorText;
};

class TemplateLineReadFailure : public testing::TestWithParam<ReadFailureCase> {};

TEST_P(TemplateLineReadFailure, ReportsTheFailureAndKeepsReportingIt) {
    const ReadFailureCase& c = GetParam();
    MemorySource source(c.input, 2, c.failAt, c.sourceError);
    TemplateLineReader reader(source, 2);
    std::vector<std::string> lines;
    std::string line;
    TemplateLineReader::Status status;
    while ((status = reader.next(line)) == TemplateLineReader::Status::Line) {
        lines.push_back(line);
    }
    EXPECT_EQ(status, TemplateLineReader::Status::Error);
    EXPECT_EQ(lines, c.linesBefore);
    EXPECT_TRUE(reader.failed());
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(reader.next(line), TemplateLineReader::Status::Error);
    EXPECT_EQ(reader.errorText(), c.errorText);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TemplateLineReadFailure,
    testing::Values(ReadFailureCase{"AtOnce", "abc\r\n", 0, "Akses ditolak", {}, "Akses ditolak"},
                    ReadFailureCase{"MidLine", "ab\r\ncdef\r\n", 6, "rusak", {"ab"}, "rusak"},
                    ReadFailureCase{"BeforeFinalLf", "ab\r\n", 3, "rusak", {"ab"}, "rusak"},
                    ReadFailureCase{"SilentSource", "ab", 0, "", {}, "Gagal membaca template."}),
    [](const testing::TestParamInfo<ReadFailureCase>& info) { return info.param.name; });

// A source that claims more bytes than it was given room for.
class OverrunSource : public ByteSource {
public:
    long long read(char*, std::size_t capacity) override {
        return static_cast<long long>(capacity) + 1;
    }
};

TEST(TemplateLineReader, SourceClaimingMoreThanAskedIsAFailure) {
    OverrunSource source;
    TemplateLineReader reader(source, 8);
    std::string line;
    EXPECT_EQ(reader.next(line), TemplateLineReader::Status::Error);
    EXPECT_FALSE(reader.errorText().empty());
}

struct WriteFailureCase {
    const char* name;
    std::size_t sinkLimit;
    std::size_t bufferSize;
    std::vector<std::string> lines;
    std::string errorText;
};

class TemplateLineWriteFailure : public testing::TestWithParam<WriteFailureCase> {};

TEST_P(TemplateLineWriteFailure, NeverReportsSuccessAfterAFailedWrite) {
    const WriteFailureCase& c = GetParam();
    LimitedSink sink(c.sinkLimit);
    TemplateLineWriter writer(sink, c.bufferSize);
    bool failedOnce = false;
    for (const std::string& line : c.lines) {
        const bool ok = writer.writeLine(line);
        EXPECT_FALSE(ok && failedOnce) << "success reported after a failure";
        failedOnce = failedOnce || !ok;
    }
    EXPECT_FALSE(writer.flush());
    EXPECT_FALSE(writer.flush());
    EXPECT_FALSE(writer.writeLine("lagi"));
    EXPECT_TRUE(writer.failed());
    EXPECT_EQ(writer.errorText(), c.errorText);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TemplateLineWriteFailure,
    testing::Values(
        WriteFailureCase{"FailsOnFlush", 3, 1024, {"abc", "def"}, "disk penuh"},
        WriteFailureCase{"FailsMidStream", 7, 4, {"abc", "def", "ghi", "jkl"}, "disk penuh"},
        WriteFailureCase{"FailsOnLongLine", 10, 4, {"ab", std::string(50, 'q')}, "disk penuh"},
        WriteFailureCase{"SilentSink", 0, 16, {"abc"}, "Gagal menulis dokumen."}),
    [](const testing::TestParamInfo<WriteFailureCase>& info) { return info.param.name; });

TEST(TemplateLineWriter, NothingToWriteIsNoFailure) {
    LimitedSink sink(0);
    TemplateLineWriter writer(sink);
    EXPECT_TRUE(writer.flush());
    EXPECT_TRUE(writer.errorText().empty());
}

} // namespace
} // namespace resipa

#include "document/templatelines.h"
#include "tests/document/memorystreams.h"

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace resipa {
namespace {

using namespace std::string_literals;
using Status = TemplateLineReader::Status;

// Each template is read at several buffer and chunk sizes (so that a CR LF falls across two
// reads), by line with next() and by piece with nextPiece(), and copied through the writer.
TEST(TemplateLines, SplitAtCrLfOrLoneCrAndWrittenWithCrLf) {
    const std::string x(200'000, 'x');
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"", {}},
        {"abc\r\n", {"abc"}},
        {"abc\r\ndef", {"abc", "def"}},
        {"a\rb\r\rc\r", {"a", "b", "", "c"}},
        {"a\nb\nc\n", {"a\nb\nc\n"}}, // LF alone is an ordinary byte
        {"a\n\rb\r\r\nc\r\n\r\n", {"a\n", "b", "", "c", ""}},
        {"a\0b\r\n\0"s, {"a\0b"s, "\0"s}},
        {"caf\xE9 \x80\xFF\r\n\xC3", {"caf\xE9 \x80\xFF", "\xC3"}},
        {x + "\r\nz", {x, "z"}},
        {"{\\par a}\n" + x + "\n{\\b [NAMA]}\n", {"{\\par a}\n" + x + "\n{\\b [NAMA]}\n"}},
    };
    for (const auto& [input, lines] : cases) {
        std::string copied;
        for (const std::string& line : lines)
            copied += line + "\r\n";
        for (const std::size_t buffer : {1u, 2u, 3u, 7u, 65536u}) {
            for (const std::size_t chunk : {1u, 2u, 65536u}) {
                SCOPED_TRACE(input.substr(0, 16) + " buffer " + std::to_string(buffer) + " chunk " +
                             std::to_string(chunk));
                MemorySource source(input, chunk);
                TemplateLineReader byLine(source, buffer);
                std::vector<std::string> read;
                for (std::string line; byLine.next(line) == Status::Line;)
                    read.push_back(line);
                EXPECT_EQ(read, lines);
                EXPECT_FALSE(byLine.failed());

                MemorySource again(input, chunk);
                TemplateLineReader byPiece(again, buffer);
                MemorySink sink;
                TemplateLineWriter writer(sink, buffer);
                std::string piece;
                bool lineEnded = false;
                while (!byPiece.atEnd()) {
                    ASSERT_EQ(byPiece.nextPiece(piece, lineEnded), Status::Line);
                    EXPECT_TRUE(lineEnded ? writer.writeLine(piece) : writer.write(piece));
                }
                EXPECT_EQ(byPiece.nextPiece(piece, lineEnded), Status::End);
                EXPECT_TRUE(writer.flush());
                EXPECT_EQ(sink.bytes, copied);
            }
        }
    }
}

TEST(TemplateLines, ReadFailureIsReportedAndSticks) {
    const std::tuple<std::string, std::size_t, std::string, std::vector<std::string>, std::string>
        cases[] = {
            {"abc\r\n", 0, "Akses ditolak", {}, "Akses ditolak"},
            {"ab\r\ncdef\r\n", 6, "rusak", {"ab"}, "rusak"},
            {"ab\r\n", 3, "", {"ab"}, "Gagal membaca template."}, // before the final LF
        };
    for (const auto& [input, failAt, error, linesBefore, errorText] : cases) {
        MemorySource source(input, 2, failAt, error);
        TemplateLineReader reader(source, 2);
        std::vector<std::string> lines;
        for (std::string line; reader.next(line) == Status::Line;)
            lines.push_back(line);
        EXPECT_EQ(lines, linesBefore);
        std::string line;
        EXPECT_TRUE(reader.atEnd() && reader.failed());
        EXPECT_EQ(reader.next(line), Status::Error);
        EXPECT_EQ(reader.errorText(), errorText);
    }
    struct : ByteSource {
        long long read(char*, std::size_t capacity) override {
            return static_cast<long long>(capacity) + 1;
        }
    } overrunning;
    TemplateLineReader reader(overrunning, 8);
    std::string line;
    EXPECT_EQ(reader.next(line), Status::Error);
    EXPECT_FALSE(reader.errorText().empty());
}

TEST(TemplateLines, WriteFailureIsNeverReportedAsSuccess) {
    const std::tuple<std::size_t, std::size_t, std::vector<std::string>, std::string> cases[] = {
        {3, 1024, {"abc", "def"}, "disk penuh"},             // on the flush
        {7, 4, {"abc", "def", "ghi", "jkl"}, "disk penuh"},  // midway
        {10, 4, {"ab", std::string(50, 'q')}, "disk penuh"}, // on a line beyond the buffer
        {0, 16, {"abc"}, "Gagal menulis dokumen."},          // a sink that does not say why
    };
    for (const auto& [limit, buffer, lines, errorText] : cases) {
        MemorySink sink(limit);
        TemplateLineWriter writer(sink, buffer);
        bool failed = false;
        for (const std::string& line : lines) {
            const bool written = writer.writeLine(line);
            EXPECT_FALSE(written && failed) << "success after a failure";
            failed = failed || !written;
        }
        EXPECT_FALSE(writer.flush());
        EXPECT_FALSE(writer.writeLine("lagi") || writer.flush() || !writer.failed());
        EXPECT_EQ(writer.errorText(), errorText);
    }
    MemorySink refusing(0);
    EXPECT_TRUE(TemplateLineWriter(refusing).flush()) << "nothing to write is no failure";
}

} // namespace
} // namespace resipa

#include "document/linefiller.h"
#include "document/placeholderjoin.h"
#include "document/templatecopy.h"
#include "document/templatelines.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace resipa {
namespace {

using namespace std::string_literals;
// Hands out its bytes in chunks of at most `chunk`, and fails once `failAt` bytes are read.
// One that fails at once does not say why.
struct MemorySource : ByteSource {
    explicit MemorySource(std::string bytes, std::size_t chunk = 65536,
                          std::size_t failAt = std::string::npos)
        : bytes(std::move(bytes))
        , chunk(chunk)
        , failAt(failAt) {}
    Result<std::size_t> read(char* buffer, std::size_t capacity) override {
        if (pos >= failAt)
            return Failure{failAt == 0 ? "" : "rusak"};
        const std::size_t count = std::min({capacity, chunk, std::min(failAt, bytes.size()) - pos});
        std::memcpy(buffer, bytes.data() + pos, count);
        pos += count;
        return count;
    }

    std::string bytes;
    std::size_t chunk, failAt;
    std::size_t pos = 0;
};

// Keeps what it is given up to `limit` bytes, then refuses; one that refuses all does not say why.
struct MemorySink : ByteSink {
    explicit MemorySink(std::size_t limit = std::string::npos)
        : limit(limit) {}
    Result<> write(const char* data, std::size_t size) override {
        if (size > limit - bytes.size())
            return Failure{limit == 0 ? "" : "disk penuh"};
        bytes.append(data, size);
        return {};
    }

    std::size_t limit;
    std::string bytes;
};

// Each template is read at several buffer and chunk sizes (so that a CR LF falls across two
// reads), by line, and by piece copied through the writer.
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
                std::string line;
                for (Result<bool> got = true; (got = byLine.next(line)) && *got;)
                    read.push_back(line);
                EXPECT_EQ(read, lines);

                MemorySource again(input, chunk);
                TemplateLineReader byPiece(again, buffer);
                MemorySink sink;
                TemplateLineWriter writer(sink, buffer);
                TemplatePiece piece;
                for (Result<bool> got = true; (got = byPiece.nextPiece(piece)) && *got;)
                    EXPECT_TRUE(piece.lineEnded ? writer.writeLine(piece.bytes)
                                                : writer.write(piece.bytes));
                EXPECT_TRUE(byPiece.atEnd() && writer.flush() && sink.bytes == copied);
            }
        }
    }
}

// A line longer than the reader's buffer comes in bounded pieces, cut after a byte no
// placeholder or control word holds or, in a line with none for 4 KiB (picture data as one line,
// runs of "[" or placeholders), where nothing is left open. Filled one by one they give what the
// whole line gives, wherever the cut falls.
TEST(TemplateLines, PiecesStayBoundedAndFillAsTheWholeLine) {
    ReceiptValues values;
    values.kota = "[NA"; // with the template's "MA]" after it, forms a later placeholder
    values.nama = "Budi";
    const LineFiller filler(values);
    const auto expectFilledInPieces = [&filler](const std::string& line, std::size_t buffer) {
        SCOPED_TRACE(buffer);
        MemorySource source(line);
        TemplateLineReader reader(source, buffer);
        TemplatePiece piece;
        std::string filled;
        std::size_t longest = 0;
        for (Result<bool> got = true; (got = reader.nextPiece(piece)) && *got;) {
            longest = std::max(longest, piece.bytes.size());
            filled += filler.fill(piece.bytes) + (piece.lineEnded ? "\r\n" : "");
        }
        EXPECT_LE(longest, std::max<std::size_t>(10 * buffer, 10'000));
        // RTF has no control word of thousands of letters; only its pieces are checked.
        EXPECT_TRUE(line.starts_with("\\x") || filled == filler.fill(line) + "\r\n");
    };
    const std::string line = "{\\b [KOTA]MA]} \\fs24[NAMA] x \\'e9[NAMA]\n[NAMA_\nPIMPINAN] " +
                             std::string(100, 'q') + "[NAMA]";
    for (const std::size_t buffer : {1u, 2u, 3u, 5u, 8u, 13u})
        expectFilledInPieces(line, buffer);
    std::string hex;
    while (hex.size() < 12'000)
        hex += "0a1b2c3d4e5f6789ff";
    for (const std::string& run :
         {std::string(12'000, 'f'), std::string(12'000, '7'), hex, std::string(12'000, '['),
          std::string(12'000, 'A'), "[NAMA]" + std::string(12'000, '_'),
          std::string(6000, 'K') + "[NAMA]" + std::string(6000, 'x'),
          "\\x" + std::string(12'000, 'x')}) {
        for (const std::string inserted : {"[NAMA]", "\\fs[NAMA]", "\\'][NAMA]", "[[NAMA]]"}) {
            for (std::size_t at = 4060; at < 4110; ++at) {
                SCOPED_TRACE(run.substr(0, 8) + " " + inserted + " at " + std::to_string(at));
                expectFilledInPieces(run.substr(0, at) + inserted + run.substr(at), 1024);
            }
        }
    }
}

// What a joiner over the input hands out, read `chunk` bytes at a time from a source that gives
// that many at a time.
std::string joined(const std::string& input, std::size_t chunk) {
    MemorySource source(input, chunk);
    PlaceholderJoiner joiner(source);
    std::string buffer(chunk, '\0'), out;
    for (Result<std::size_t> count = std::size_t{0};
         (count = joiner.read(buffer.data(), chunk)) && *count > 0;)
        out.append(buffer, 0, *count);
    return out;
}

// Split as editors split them: LibreOffice, AbiWord, pandoc, Word. `same`: passes unchanged.
TEST(PlaceholderJoiner, JoinsWhatAReaderSeesInARow) {
    const std::string same;
    const auto codes = [](std::size_t bytes) {
        std::string text;
        while (text.size() < bytes)
            text += "\\b0";
        return text;
    };
    std::stringstream shipped;
    shipped << std::ifstream(RESIPA_DATA_DIR "/rspdefault.rtf", std::ios::binary).rdbuf();
    ASSERT_GT(shipped.str().size(), 1000u);
    const std::pair<std::string, std::string> cases[] = {
        {"{\\b0 [NA}{\\loch\\b\\loch\nMA]}x", "{\\b0 [NAMA]}{\\loch\\b\\loch\n}x"},
        {"[KETER}{\\loch\r\nANGAN]}", "[KETERANGAN]}{\\loch\r\n}"},
        {"[DESCRIPSI_}{\\hich\\af5\\loch\\i\\f5\\loch\nPERUSAHAAN]}",
         "[DESCRIPSI_PERUSAHAAN]}{\\hich\\af5\\loch\\i\\f5\\loch\n}"},
        {"{\\cf9 [}ATAS_}{\\loch\\lang1033\\loch NAMA]}",
         "{\\cf9 [ATAS_NAMA]}}{\\loch\\lang1033\\loch }"},
        {"[NA}{\\s28\\f1\\fs20\\b\\lang1057{\\*\\listtag0}MA]}",
         "[NAMA]}{\\s28\\f1\\fs20\\b\\lang1057{\\*\\listtag0}}"},
        {"[NA{\\b MA]}", "[NAMA]{\\b }"},
        {"[NA{\\*\\bkmkstart [x}MA]", "[NAMA]{\\*\\bkmkstart [x}"},
        {"[TERB}{\\insrsid11296801 I}{\\insrsid4537554 LANG]}",
         "[TERBILANG]}{\\insrsid11296801 }{\\insrsid4537554 }"},
        {"[KETE\\hich\\af1\\dbch\\af31505\\loch\\f1 RANGAN]",
         "[KETERANGAN]\\hich\\af1\\dbch\\af31505\\loch\\f1 "},
        {"[NAMA_PIM}{\\*\\bkmkstart _GoBack}{\\*\\bkmkend _GoBack}{\\insrsid15415746 PINAN]}",
         "[NAMA_PIMPINAN]}{\\*\\bkmkstart _GoBack}{\\*\\bkmkend _GoBack}{\\insrsid15415746 }"},
        {"[\r\nATAS_NAMA]\r\n", "[ATAS_NAMA]\r\n\r\n"},
        // A shape's text is shown; the rest of the shape is not.
        {"{\\*\\shpinst{\\sv [NA\\b MA]}{\\shptxt {[NA}{\\cf3 MA]}}{\\sv [NA\\b MA]}}",
         "{\\*\\shpinst{\\sv [NA\\b MA]}{\\shptxt {[NAMA]}{\\cf3 }}{\\sv [NA\\b MA]}}"},
        // A control word a moved letter delimited keeps its delimiter.
        {"[NAM\\i0A]1 [AC\\b1C]x", "[NAMA]\\i0 1 [ACC]\\b1 x"},
        {"[[NA\\b MA] [NA\\b [KOTA]", "[[NAMA]\\b  [NA\\b [KOTA]"},
        {"[NA" + codes(4090) + "MA]", "[NAMA]" + codes(4090) + " "},
        {"[NA\\b" + std::string(4094, '0') + "MA]", "[NAMA]\\b" + std::string(4094, '0') + " "},
        {"[NA\\b" + std::string(4095, '0') + "MA] [NA{\\b M", same}, // beyond the bound; the end
        // A comment anchored inside: LibreOffice's, AbiWord's.
        {"[TER}{{\\*\\atnid }{\\*\\atnauthor A}\\chatn{\\*\\annotation{\\*\\atndate 0}[NA]}}{\\b "
         "BILANG]}",
         "[TERBILANG]}{{\\*\\atnid }{\\*\\atnauthor A}\\chatn{\\*\\annotation{\\*\\atndate "
         "0}[NA]}}{\\b }"},
        {"[NA{\\*\\atrfstart 1}M{\\*\\atrfend 1}{\\*\\atnref 1}A] [NA{\\annotation [x}MA]",
         "[NAMA]{\\*\\atrfstart 1}{\\*\\atrfend 1}{\\*\\atnref 1} [NAMA]{\\annotation [x}"},
        // Notes and field results are joined in their own group, and end there.
        {"{\\*\\footnote {[NA}{\\b MA]}}{\\*\\fldrslt {[KO}{\\i TA]}}",
         "{\\*\\footnote {[NAMA]}{\\b }}{\\*\\fldrslt {[KOTA]}{\\i }}"},
        // Escaped placeholder characters are written plain; the fallback after "\\u" goes too.
        {"[NAMA\\'5f}{\\b PERUSAHAAN]} \\'5bKOTA\\'5D [ATAS\\uc1\\u95 ?NAMA] [ACC\\u93\\'3fx",
         "[NAMA_PERUSAHAAN]}{\\b } [KOTA] [ATAS_NAMA]\\uc1  [ACC]x"},
        {"\\u91[KOTA] {\\uc2\\u91 ??KOTA]} {\\b\\uc0 \\u91 KOTA]}",
         "[KOTA] {\\uc2[KOTA]} {\\b\\uc0 [KOTA]}"},
        // Symbols no reader shows are codes; a Unicode destination is shown; so is a character
        // after a half-width one or a whole double-byte one.
        {"[NAMA_PIM\\ PINAN] {\\upr{[NA\\b MA]}{\\*\\ud{[NA}{\\b MA]}}} "
         "{\\ansicpg932 \\'b1[NA\\b MA]\\'81\\'81[NA\\b MA]}",
         "[NAMA_PIMPINAN]\\  {\\upr{[NAMA]\\b }{\\*\\ud{[NAMA]}{\\b }}} "
         "{\\ansicpg932 \\'b1[NAMA]\\b \\'81\\'81[NAMA]\\b }"},
        {std::string(1023, '{') + "[NA\\b MA]", std::string(1023, '{') + "[NAMA]\\b "},
        // Hidden text is neither seen nor a break.
        {"[NA\\v XX\\v0 MA] [NA{\\v MA}MA]", "[NAMA]\\v XX\\v0  [NAMA]{\\v MA}"},
        // What a reader sees, or never sees, ends a placeholder; other bracketed text stays.
        {"[NA\\par MA] [NA\\tab MA] [NA\\'41MA] [NA\\u78 AMA] [NA\\{MA] [N\\\nAMA] [NA\\v MA\\v0 ]",
         same},
        {"[NAMAX] [nama] [NA\\b ME] [NA{\\footnote x}MA] [NA\\bin2 }{MA] \\bin5 [NA\\b MA]", same},
        {"{\\header [NA}MA] {\\footer {[NA}}MA] {\\*\\footnote [NA}MA] [NA{\\pict 0f}MA] "
         "[NA\\u-3913 MA] {\\b\\v [NA}MA]",
         same},
        {"[NA{\\field{\\*\\fldinst HYPERLINK \\'22x\\'22}{\\fldrslt MA]}} {\\field{\\fldrslt "
         "[NA}}MA]",
         same},
        {"{\\ansicpg932 \\'81\\'5bKOTA]} [NA{\\*\\shppict{\\pict 0}}MA] [NA{\\nonshppict{\\pict "
         "0}}MA]",
         same},
        // A fallback some reader skips (on across codes, up to \\uc32767), a trail byte.
        {"\\u8212\\par [NA\\b MA] {\\u8212{\\b [NA\\b MA]}} "
         "{\\uc20\\u8212 0123456789ABCDEFGHI[NA\\b MA]} "
         "{\\ansicpg936 \\'81[NA\\b MA] \\'81\\b\\'b1[NA\\b MA] \\'81\\'81\\'81[NA\\b MA]}",
         same},
        {"[NA\\~MA] [NA\\-MA] [NA\\_MA] {\\field{\\fldinst [NA\\b MA]}{\\fldrslt x}} " +
             std::string(1024, '{') + "[NA\\b MA]",
         same},
        {"{\\fonttbl{\\f0 [NA\\b MA];}}{\\info{\\title [NA\\b MA]}{\\*\\ud [NA\\b MA]}}{\\pict "
         "[NA\\b "
         "MA]}",
         same},
        {"{\\*\\x [NA\\b MA]}{\\*\\y}[NA{\\*\\bkmkstart x}" + codes(4097) + "MA]", same},
        {"{\\rtf1 [NAMA] [[KOTA]] \\b[ACC]\\b0 [JUMLAH]}", same},
        {shipped.str(), same},
    };
    for (const auto& [input, output] : cases)
        for (const std::size_t chunk : {65536u, 1u, 7u})
            EXPECT_EQ(joined(input, chunk), output.empty() ? input : output)
                << input.substr(0, 80) << " chunk " << chunk;
}

// As the Preview copies: what a reader takes as it is (a PNG stored as binary data, with its lone
// CRs, LFs and text) byte for byte, and placeholders filled only where a reader sees them.
TEST(TemplateCopy, FillsOnlyWhatAReaderSeesAndCopiesDataAsItIs) {
    ReceiptValues values;
    values.nomor = "K-9";
    values.nama = "Budi";
    values.namaPimpinan = "Ratna";
    const std::string png = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10\r[NAMA]\n\\}{\r[ACC]"s;
    const std::string bin = "{\\pict\\pngblip\\bin" + std::to_string(png.size()) + " " + png;
    std::stringstream shipped;
    shipped << std::ifstream(RESIPA_DATA_DIR "/rspdefault.rtf", std::ios::binary).rdbuf();
    const std::pair<std::string, std::string> cases[] = {
        {bin + "}[NAMA]\r{\\pict\\bin2\r\n}[NAMA]\\bin9 [NAMA]",
         bin + "}Budi\r\n{\\pict\\bin2\r\n}Budi\\bin9 [NAMA]\r\n"},
        {"Dari\\u8212[NAMA] \\uc20\\u8212 0123456789ABCDEFGHI[NAMA] \\'[NAMA] \\[NAMA] "
         "\\u8212\\par [NAMA] {\\uc3\\u8212 a{b}[NAMA]} {\\uc-1\\u8212 a[NAMA]}",
         ""},
        {"{\\uc40000\\u8212 a[NAMA]} {\\uc-1\\u8212 a}[NAMA] [NAMA_PIM\\ PINAN] "
         "{\\upr{[NA\\b MA]}{\\*\\ud{[NA}{\\b MA]}}}",
         "{\\uc40000\\u8212 aBudi} {\\uc-1\\u8212 a}Budi Ratna\\  {\\upr{Budi\\b "
         "}{\\*\\ud{Budi}{\\b }}}\r\n"},
        {"{\\ansicpg932 \\'81[NAMA] \\'b1[NAMA] \x81[NAMA] \x81\x81[NAMA]}",
         "{\\ansicpg932 \\'81[NAMA] \\'b1Budi \x81[NAMA] \x81\x81"
         "Budi}\r\n"},
        // The shipped template's title names the receipt; nothing in it is left unfilled.
        {shipped.str(), "{\\info{\\title Kwitansi K-9 - Budi}}"},
    };
    for (const auto& [input, output] : cases) {
        for (const std::size_t chunk : {1u, 7u, 65536u}) {
            for (const std::size_t buffer : {16u, 65536u}) {
                SCOPED_TRACE(input.substr(0, 60) + " chunk " + std::to_string(chunk) + " buffer " +
                             std::to_string(buffer));
                MemorySource source(input, chunk);
                MemorySink sink;
                TemplateCopy copy(source, sink, values, buffer);
                Result<bool> more = true;
                while ((more = copy.copyNext()) && *more) {
                }
                EXPECT_TRUE(more);
                if (output.starts_with("{\\info"))
                    EXPECT_TRUE(sink.bytes.find(output) != std::string::npos &&
                                sink.bytes.find('[') == std::string::npos);
                else
                    EXPECT_EQ(sink.bytes, output.empty() ? input + "\r\n" : output);
            }
        }
    }
}

TEST(TemplateLines, ReadFailureIsReportedAndSticks) {
    const std::tuple<std::string, std::size_t, std::vector<std::string>, std::string> cases[] = {
        {"abc\r\n", 0, {}, "Gagal membaca template."},
        {"ab\r\ncdef\r\n", 6, {"ab"}, "rusak"},
        {"ab\r\n", 3, {"ab"}, "rusak"}, // before the final LF
    };
    for (const auto& [input, failAt, linesBefore, errorText] : cases) {
        MemorySource source(input, 2, failAt);
        PlaceholderJoiner joiner(source); // hands the source's failure on as it is
        TemplateLineReader reader(joiner, 2);
        std::vector<std::string> lines;
        std::string line;
        Result<bool> got = true;
        while ((got = reader.next(line)) && *got)
            lines.push_back(line);
        EXPECT_EQ(lines, linesBefore);
        EXPECT_TRUE(reader.atEnd());
        for (const Result<bool>& failed : {got, reader.next(line)})
            EXPECT_TRUE(!failed && failed.failure().text == errorText);
    }
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
            const bool written = static_cast<bool>(writer.writeLine(line));
            EXPECT_FALSE(written && failed) << "success after a failure";
            failed = failed || !written;
        }
        for (const Result<>& written : {writer.flush(), writer.writeLine("lagi"), writer.flush()})
            EXPECT_TRUE(!written && written.failure().text == errorText);
    }
    MemorySink refusing(0);
    EXPECT_TRUE(TemplateLineWriter(refusing).flush()) << "nothing to write is no failure";
}

} // namespace
} // namespace resipa

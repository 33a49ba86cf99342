#include "document/receipt.h"
#include "document/utf8.h"

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <unistd.h>

#include <gtest/gtest.h>

namespace resipa {
namespace {

using namespace std::string_literals;

struct SafeCase {
    const char* name;
    std::string value;
    std::string rtf;
};

class RtfSafeTest : public testing::TestWithParam<SafeCase> {};

TEST_P(RtfSafeTest, EscapesTheValue) {
    EXPECT_EQ(rtfSafe(GetParam().value), GetParam().rtf);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RtfSafeTest,
    testing::Values(
        SafeCase{"Empty", "", ""},
        SafeCase{"PlainAscii", "Budi, Rp.5 (lunas)", "Budi, Rp.5 (lunas)"},
        SafeCase{"Backslash", "a\\par b", "a\\\\par b"}, SafeCase{"Braces", "}{", "\\}\\{"},
        SafeCase{"BracketsStay", "[KOTA]", "[KOTA]"}, SafeCase{"TwoByte", "é", "{\\uc1\\u233 ?}"},
        SafeCase{"Euro", "€", "{\\uc1\\u8364 ?}"},
        SafeCase{"LastPositive", "\xE7\xBF\xBF", "{\\uc1\\u32767 ?}"},
        SafeCase{"FirstNegative", "\xE8\x80\x80", "{\\uc1\\u-32768 ?}"},
        SafeCase{"Cjk", "東", "{\\uc1\\u26481 ?}"}, SafeCase{"Hangul", "한", "{\\uc1\\u-10916 ?}"},
        SafeCase{"BeyondBmp", "😀", "{\\uc1\\u-10179 ?\\u-8704 ?}"},
        SafeCase{"LastCodePoint", "\xF4\x8F\xBF\xBF", "{\\uc1\\u-9217 ?\\u-8193 ?}"},
        SafeCase{"LineBreaks", "a\nb\r\nc\rd", "a\\line b\\line c\\line d"},
        SafeCase{"TwoCrLfAreTwoBreaks", "\r\n\r\n", "\\line \\line "},
        SafeCase{"LfCrAreTwoBreaks", "\n\r", "\\line \\line "}, SafeCase{"Tab", "a\tb", "a\\tab b"},
        SafeCase{"ControlsDropped", "a\0\x01\x1B\x7F"s + "b\xC2\x85\xC2\x9F" + "c", "abc"},
        SafeCase{"StrayContinuation", "\x80", "{\\uc1\\u-3 ?}"},
        SafeCase{"Latin1Byte", "caf\xE9!", "caf{\\uc1\\u-3 ?}!"},
        SafeCase{"TruncatedSequenceIsOne", "\xE2\x82", "{\\uc1\\u-3 ?}"},
        SafeCase{"TruncatedBeforeAscii", "\xE2\x82x", "{\\uc1\\u-3 ?}x"},
        SafeCase{"Overlong", "\xC0\xAF", "{\\uc1\\u-3 ?}{\\uc1\\u-3 ?}"},
        SafeCase{"Surrogate", "\xED\xA0\x80", "{\\uc1\\u-3 ?}{\\uc1\\u-3 ?}{\\uc1\\u-3 ?}"},
        SafeCase{"PastUnicode", "\xF4\x90\x80\x80",
                 "{\\uc1\\u-3 ?}{\\uc1\\u-3 ?}{\\uc1\\u-3 ?}{\\uc1\\u-3 ?}"}),
    [](const testing::TestParamInfo<SafeCase>& info) { return info.param.name; });

TEST(Utf8, EncodesWhatItDecodes) {
    const char32_t codePoints[] = {0,      0x7F,   0x80,   0x7FF,   0x800,   0xD7FF,
                                   0xE000, 0xFFFD, 0xFFFF, 0x10000, 0x10FFFF};
    for (const char32_t codePoint : codePoints) {
        SCOPED_TRACE(static_cast<unsigned long>(codePoint));
        std::string encoded;
        appendUtf8(encoded, codePoint);
        const Utf8Step step = decodeUtf8(encoded, 0);
        EXPECT_TRUE(step.valid);
        EXPECT_EQ(step.codePoint, codePoint);
        EXPECT_EQ(step.length, encoded.size());
        EXPECT_TRUE(isValidUtf8(encoded));
    }
}

// --- The filled document read back by a real RTF reader -------------------------------------

std::string findOnPath(const char* program) {
    const char* path = std::getenv("PATH");
    std::istringstream dirs(path != nullptr ? path : "/usr/bin:/bin");
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        const std::string candidate = (dir.empty() ? "." : dir) + "/" + program;
        if (::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return {};
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The named entities unrtf's HTML output uses for the characters of these cases; any other
// entity is left as it is, and the comparison then fails on it visibly.
std::string decodeHtmlEntities(std::string_view html) {
    static const std::pair<std::string_view, char32_t> named[] = {
        {"amp", '&'},   {"lt", '<'},      {"gt", '>'},      {"quot", '"'},
        {"nbsp", 0xA0}, {"eacute", 0xE9}, {"euro", 0x20AC}, {"apos", '\''}};
    std::string text;
    char32_t highSurrogate = 0;
    std::size_t pos = 0;
    while (pos < html.size()) {
        const std::size_t semicolon = html.find(';', pos);
        if (html[pos] != '&' || semicolon == std::string_view::npos || semicolon - pos > 10) {
            text += html[pos++];
            continue;
        }
        const std::string_view entity = html.substr(pos + 1, semicolon - pos - 1);
        char32_t codePoint = 0;
        bool known = false;
        if (entity.size() > 1 && entity[0] == '#') {
            const bool hex = entity[1] == 'x' || entity[1] == 'X';
            codePoint = static_cast<char32_t>(
                std::stoul(std::string(entity.substr(hex ? 2 : 1)), nullptr, hex ? 16 : 10));
            known = true;
        }
        for (const auto& [name, value] : named) {
            if (entity == name) {
                codePoint = value;
                known = true;
            }
        }
        if (!known) {
            text += html[pos++];
            continue;
        }
        pos = semicolon + 1;
        // unrtf writes each UTF-16 half of a character beyond the BMP as an entity of its own.
        if (codePoint >= 0xD800 && codePoint <= 0xDBFF) {
            highSurrogate = codePoint;
            continue;
        }
        if (codePoint >= 0xDC00 && codePoint <= 0xDFFF && highSurrogate != 0) {
            codePoint = 0x10000 + ((highSurrogate - 0xD800) << 10) + (codePoint - 0xDC00);
        }
        highSurrogate = 0;
        appendUtf8(text, codePoint);
    }
    return text;
}

struct ReaderCase {
    const char* name;
    std::string templateLine;
    std::string value;
    std::string shown;
};

class RtfReaderTest : public testing::TestWithParam<ReaderCase> {};

TEST_P(RtfReaderTest, RealReaderShowsTheValueExactly) {
    const std::string unrtf = findOnPath("unrtf");
    if (unrtf.empty()) {
        GTEST_SKIP() << "unrtf is not installed";
    }
    const ReaderCase& c = GetParam();
    static std::atomic<int> counter{0};
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        ("resipa-rtf-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(dir);
    struct Cleanup {
        std::filesystem::path dir;
        ~Cleanup() { std::filesystem::remove_all(dir); }
    } cleanup{dir};

    ReceiptValues values;
    values.nama = c.value;
    const LineFiller filler(values, NumberFormat{",", "."});
    const std::string document = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}\r\n" +
                                 filler.fill("\\pard AWAL" + c.templateLine + "AKHIR\\par") +
                                 "\r\n}\r\n";
    {
        std::ofstream out(dir / "doc.rtf", std::ios::binary);
        out << document;
    }
    const std::string command = "'" + unrtf + "' --html '" + (dir / "doc.rtf").string() + "' > '" +
                                (dir / "doc.html").string() + "' 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    std::string html = readFile(dir / "doc.html");
    std::erase(html, '\n');
    const std::size_t begin = html.find("AWAL");
    const std::size_t end = html.rfind("AKHIR");
    ASSERT_NE(begin, std::string::npos) << html;
    ASSERT_NE(end, std::string::npos) << html;
    ASSERT_LE(begin + 4, end) << html;
    EXPECT_EQ(decodeHtmlEntities(html.substr(begin + 4, end - begin - 4)), c.shown)
        << "document: " << document;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RtfReaderTest,
    testing::Values(ReaderCase{"MixedValue", "[NAMA]", "{\\b x} café € 東京",
                               "{\\b x} café € 東京"},
                    ReaderCase{"ParTypedAsValue", "[NAMA]", "\\par", "\\par"},
                    ReaderCase{"UnbalancedBraces", "[NAMA]", "}}{x", "}}{x"},
                    ReaderCase{"TrailingBackslash", "[NAMA]", "C:\\", "C:\\"},
                    ReaderCase{"HtmlSpecials", "[NAMA]", "a&b<c>\"d\"", "a&b<c>\"d\""},
                    ReaderCase{"BeyondBmp", "[NAMA]", "x😀y", "x😀y"},
                    ReaderCase{"SkipCountZero", "{\\uc0 [NAMA]}", "é€", "é€"},
                    ReaderCase{"SkipCountTwo", "{\\uc2 [NAMA]}", "é€", "é€"},
                    ReaderCase{"MultiLineValue", "[NAMA]", "Jl. Merdeka 1\r\nBandung",
                               "Jl. Merdeka 1<br>Bandung"},
                    ReaderCase{"AfterControlWord", "{\\b[NAMA]}", "12 Mei", "<b>12 Mei</b>"}),
    [](const testing::TestParamInfo<ReaderCase>& info) { return info.param.name; });

} // namespace
} // namespace resipa

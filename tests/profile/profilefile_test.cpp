#include "profile/profilefile.h"

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace resipa {
namespace {

using namespace std::string_literals;

TEST(ProfileItemReader, Items) {
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"", {}},
        {"  a b  ,\t c\t\r\nd", {"a b", "c", "d"}},
        {"a,,b,\r\nc,", {"a", "", "b", "", "c", ""}},
        {"a\r\n\r\n \t\r\nb\r\n", {"a", "", "", "b"}}, // a final line end adds no item
        {"a\nb\n\nc\rd\r\re\n\rf", {"a", "b", "", "c", "d", "", "e", "", "f"}},
        {"  \" a, b \" junk \"q\",5\" disk", {" a, b ", "5\" disk"}},
        {"\"Jl. A\r\nBandung\",\"\",x,\"b, c\r\nd", {"Jl. A\r\nBandung", "", "x", "b, c\r\nd"}},
        {"a\0b,c"s, {"a\0b"s, "c"}},
    };
    for (const auto& [text, items] : cases) {
        ProfileItemReader reader(text);
        std::vector<std::string> read;
        for (auto item = reader.next(); item && read.size() <= items.size(); item = reader.next())
            read.push_back(*item);
        EXPECT_EQ(read, items) << text;
        EXPECT_EQ(reader.next(), std::nullopt) << text;
    }
}

// Labels skipped, values kept; an unquoted comma or a blank line shifts the later values.
TEST(ReadProfile, EightValues) {
    const std::pair<std::string, ProfilPerusahaan> cases[] = {
        {"K,Bandung\r\nN,\"PT A, Tbk\"\r\nc,3\r\nd,4\r\ne,5\r\nf,6\r\ng,7\r\nh,8\r\ni,9",
         {"Bandung", "PT A, Tbk", "3", "4", "5", "6", "7", "8"}},
        {"K,Bandung\r\nN,PT A, Tbk\r\nc,3\r\nd,4\r\ne,5\r\nf,6\r\ng,7\r\nh,8",
         {"Bandung", "PT A", "c", "d", "e", "f", "g", "h"}},
        {"K,Bandung\r\n\r\nN,PT A\r\nc,3\r\n", {"Bandung", "N", "c"}},
        {"Kota\t,\tBandung\t\r\nNama", {"Bandung"}}, // a short file leaves the rest empty
    };
    for (const auto& [text, values] : cases)
        EXPECT_EQ(readProfile(text), values) << text;
}

TEST(DecodeProfileBytes, Utf16ByItsMarkElseUtf8ElseWindows1252) {
    const std::pair<std::string, std::string> cases[] = {
        {"caf\xC3\xA9 \xE2\x82\xAC\0"s, "café €\0"s},
        {"\xEF\xBB\xBF\xEF\xBB\xBFKota", "\xEF\xBB\xBFKota"}, // one byte order mark dropped
        {"caf\xC3\xA9 \xE9", "cafÃ© é"},                      // one stray byte: all Windows-1252
        {"\x80\x82\x85\x8A\x91\x92\x93\x94\x96\x97\x99\x9F", "€‚…Š‘’“”–—™Ÿ"},
        {"\x81\x8D\x8F\x90\x9D\xA0\xBF\xFF", "\u0081\u008D\u008F\u0090\u009D\u00A0¿ÿ"},
        {"\xED\xA0\x80", "í\u00A0€"}, // a surrogate, an overlong or a cut sequence is no UTF-8
        {"\xC0\xAF", "À¯"},
        {"ab\xE2\x82", "abâ‚"},
        // UTF-16 LE and BE by the byte order mark: a lone surrogate is U+FFFD, an odd byte dropped.
        {"\xFF\xFE"
         "c\0\xE9\0\xAC\x20=\xD8\0\xDE\r\0\n\0\0\xD8,\0x"s,
         "cé€😀\r\n\uFFFD,"},
        {"\xFE\xFF\0c\0\xE9\x20\xAC\xD8=\xDE\0\0\r\0\n\xDC\0\0,\0"s, "cé€😀\r\n\uFFFD,"},
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(decodeProfileBytes(bytes), text) << bytes;
}

} // namespace
} // namespace resipa

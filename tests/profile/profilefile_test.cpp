#include "profile/profilefile.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace resipa {
namespace {

using namespace std::string_literals;

const std::string eightLines = "Kota,Bandung\r\n"
                               "Nama Perusahaan,PT Maju Jaya\r\n"
                               "Deskripsi,Percetakan\r\n"
                               "Alamat,Jl. Asia Afrika 8\r\n"
                               "Bank,BCA\r\n"
                               "No. Rekening,123-456\r\n"
                               "Atas Nama,Budi\r\n"
                               "Pimpinan,Siti\r\n";

const ProfilPerusahaan eightValues = {"Bandung", "PT Maju Jaya", "Percetakan", "Jl. Asia Afrika 8",
                                      "BCA",     "123-456",      "Budi",       "Siti"};

struct ItemCase {
    const char* name;
    std::string text;
    std::vector<std::string> items;
};

class ProfileItems : public testing::TestWithParam<ItemCase> {};

TEST_P(ProfileItems, SplitsTheText) {
    ProfileItemReader reader(GetParam().text);
    std::vector<std::string> items;
    while (std::optional<std::string> item = reader.next()) {
        items.push_back(*item);
        ASSERT_LE(items.size(), GetParam().items.size() + 1) << "reader does not stop";
    }
    EXPECT_EQ(items, GetParam().items);
    EXPECT_FALSE(reader.next()) << "an exhausted reader stays exhausted";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileItems,
    testing::Values(
        ItemCase{"Empty", "", {}}, ItemCase{"OneItem", "abc", {"abc"}},
        ItemCase{"CommaAndLineEnd", "a,b\r\nc,d\r\n", {"a", "b", "c", "d"}},
        ItemCase{"SpacesAroundDropped", "  a b  ,\t c\t\r\n", {"a b", "c"}},
        ItemCase{"QuotedKeepsCommaAndSpaces", "\" a, b \",c", {" a, b ", "c"}},
        ItemCase{"SpacesBeforeQuote", "   \"x\"", {"x"}},
        ItemCase{"UnquotedCommaSplits", "Alamat,Jl. A, No. 5\r\n", {"Alamat", "Jl. A", "No. 5"}},
        ItemCase{"EmptyBetweenCommas", "a,,b", {"a", "", "b"}},
        ItemCase{"BlankLineIsOneItem", "a\r\n\r\nb", {"a", "", "b"}},
        ItemCase{"BlanksOnlyLineIsOneItem", "a\r\n \t\r\nb", {"a", "", "b"}},
        ItemCase{"CommaBeforeLineEnd", "a,\r\nb", {"a", "", "b"}},
        ItemCase{"TrailingComma", "a,", {"a", ""}},
        ItemCase{"FinalLineEndEndsTheLastLine", "a\r\n", {"a"}},
        ItemCase{"LoneLf", "a\nb\n\nc", {"a", "b", "", "c"}},
        ItemCase{"LoneCr", "a\rb\r\rc", {"a", "b", "", "c"}},
        ItemCase{"LfCrIsTwoLineEnds", "a\n\rb", {"a", "", "b"}},
        ItemCase{"TextAfterClosingQuoteDropped", "\"a\" junk \"q\",b", {"a", "b"}},
        ItemCase{"QuoteInsideUnquotedItem", "5\" disk,b", {"5\" disk", "b"}},
        ItemCase{"LineEndInsideQuotes", "\"Jl. A\r\nBandung\",b", {"Jl. A\r\nBandung", "b"}},
        ItemCase{"UnclosedQuoteRunsToTheEnd", "a,\"b, c\r\nd", {"a", "b, c\r\nd"}},
        ItemCase{"EmptyQuoted", "\"\",x", {"", "x"}},
        ItemCase{"NulBytesKept", "a\0b,c"s, {"a\0b"s, "c"}}),
    [](const testing::TestParamInfo<ItemCase>& info) { return info.param.name; });

struct ProfileCase {
    const char* name;
    std::string text;
    ProfilPerusahaan values;
};

class ReadProfile : public testing::TestWithParam<ProfileCase> {};

TEST_P(ReadProfile, GivesTheEightValues) {
    EXPECT_EQ(readProfile(GetParam().text), GetParam().values);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadProfile,
    testing::Values(
        ProfileCase{"EightLines", eightLines, eightValues},
        ProfileCase{"LabelsIgnored",
                    "x,1\r\ny,2\r\n\"a,b\",3\r\n,4\r\nz,5\r\nz,6\r\nz,7\r\nz,8",
                    {"1", "2", "3", "4", "5", "6", "7", "8"}},
        ProfileCase{"QuotedCommaStaysWhole",
                    "Kota,Bandung\r\nNama,\"PT A, Tbk\"\r\nc,3\r\nd,4\r\ne,5\r\nf,6\r\ng,7\r\nh,8",
                    {"Bandung", "PT A, Tbk", "3", "4", "5", "6", "7", "8"}},
        ProfileCase{"UnquotedCommaShiftsLaterValues",
                    "Kota,Bandung\r\nNama,PT A, Tbk\r\nc,3\r\nd,4\r\ne,5\r\nf,6\r\ng,7\r\nh,8",
                    {"Bandung", "PT A", "c", "d", "e", "f", "g", "h"}},
        ProfileCase{"SpacesOutsideQuotesDropped",
                    "Kota,  Bandung  \r\nNama,\"  PT A  \"\r\n",
                    {"Bandung", "  PT A  ", "", "", "", "", "", ""}},
        ProfileCase{"BlankLineShiftsLaterValues",
                    "Kota,Bandung\r\n\r\nNama,PT A\r\nc,3\r\n",
                    {"Bandung", "Nama", "c", "", "", "", "", ""}},
        ProfileCase{"LinesAfterSixteenthItemIgnored", eightLines + "Lebih,\"tidak dibaca\r\n",
                    eightValues},
        ProfileCase{"FewerItemsLeaveTheRestEmpty",
                    "Kota,Bandung\r\nNama,PT A",
                    {"Bandung", "PT A", "", "", "", "", "", ""}},
        ProfileCase{
            "OddItemCount", "Kota,Bandung\r\nNama", {"Bandung", "", "", "", "", "", "", ""}},
        ProfileCase{"EmptyFile", "", {}},
        ProfileCase{
            "TabsAroundItems", "Kota\t,\tBandung\t\r\n", {"Bandung", "", "", "", "", "", "", ""}},
        ProfileCase{"LfLineEnds",
                    "a,1\nb,2\nc,3\nd,4\ne,5\nf,6\ng,7\nh,8\n",
                    {"1", "2", "3", "4", "5", "6", "7", "8"}},
        ProfileCase{"CrLineEnds",
                    "a,1\rb,2\rc,3\rd,4\re,5\rf,6\rg,7\rh,8\r",
                    {"1", "2", "3", "4", "5", "6", "7", "8"}}),
    [](const testing::TestParamInfo<ProfileCase>& info) { return info.param.name; });

struct DecodeCase {
    const char* name;
    std::string bytes;
    std::string text;
};

class DecodeProfileBytes : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeProfileBytes, GivesUtf8) {
    EXPECT_EQ(decodeProfileBytes(GetParam().bytes), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodeProfileBytes,
    testing::Values(DecodeCase{"Empty", "", ""},
                    DecodeCase{"Ascii", "Kota,Bandung\r\n", "Kota,Bandung\r\n"},
                    DecodeCase{"Utf8Kept", "caf\xC3\xA9 \xE2\x82\xAC", "café €"},
                    DecodeCase{"Utf8BomStripped", "\xEF\xBB\xBFKota", "Kota"},
                    DecodeCase{"BomOnlyOnce", "\xEF\xBB\xBF\xEF\xBB\xBF", "\xEF\xBB\xBF"},
                    DecodeCase{"NulKept", "a\0b"s, "a\0b"s},
                    DecodeCase{"Windows1252Euro", "\x80", "€"},
                    DecodeCase{"Windows1252Latin", "caf\xE9", "café"},
                    DecodeCase{"OneBadByteDecodesAll", "caf\xC3\xA9 \xE9", "cafÃ© é"},
                    DecodeCase{"Windows1252Specials",
                               "\x82\x85\x8A\x91\x92\x93\x94\x96\x97\x99\x9F", "‚…Š‘’“”–—™Ÿ"},
                    DecodeCase{"UndefinedBytesAsC1", "\x81\x8D\x8F\x90\x9D",
                               "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},
                    DecodeCase{"HighHalf", "\xA0\xBF\xFF", "\xC2\xA0¿ÿ"},
                    DecodeCase{"Utf8SurrogateIsNotUtf8", "\xED\xA0\x80", "í\xC2\xA0€"},
                    DecodeCase{"OverlongIsNotUtf8", "\xC0\xAF", "À¯"},
                    DecodeCase{"TruncatedAtEnd", "ab\xE2\x82", "abâ‚"}),
    [](const testing::TestParamInfo<DecodeCase>& info) { return info.param.name; });

TEST(DecodeProfileBytes, EveryByteDecodesToValidUtf8) {
    std::string allBytes;
    for (int byte = 0; byte < 256; ++byte) {
        allBytes += static_cast<char>(byte);
    }
    const std::string text = decodeProfileBytes(allBytes);
    // ASCII stays one byte, the rest takes two, and the 17 punctuation marks and symbols past
    // U+07FF (€, ‚, „, …, †, ‡, ‰, ‹, ‘, ’, “, ”, •, –, —, ™, ›) one more.
    EXPECT_EQ(text.size(), 128u + 2 * 128u + 17u);
    EXPECT_EQ(decodeProfileBytes(text), text) << "the decoded text must itself read as UTF-8";
}

TEST(ReadProfile, LargeInputsKeepTheirValuesWhole) {
    constexpr std::size_t size = 16u << 20;
    struct Case {
        const char* name;
        std::string (*make)();
        std::size_t firstValueSize;
    };
    // Made one at a time: each input is sixteen megabytes.
    const Case cases[] = {
        {"OneLongLine", [] { return "Kota," + std::string(size, 'x'); }, size},
        {"OneLongLatin1Line", [] { return "Kota," + std::string(size / 2, '\xE9'); }, size},
        {"UnclosedQuote", [] { return "Kota,\"" + std::string(size, ','); }, size},
        {"ManyCommas", [] { return std::string(size, ','); }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ProfilPerusahaan values = readProfile(decodeProfileBytes(c.make()));
        EXPECT_EQ(values[0].size(), c.firstValueSize);
    }
}

} // namespace
} // namespace resipa

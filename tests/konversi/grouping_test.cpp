#include "konversi/amount.h"

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <optional>
#include <ostream>
#include <random>
#include <string>

#include <gtest/gtest.h>

namespace resipa {

void PrintTo(Amount amount, std::ostream* os) {
    *os << amount.tenThousandths() << "/10000";
}

namespace {

const NumberFormat kCommaGroups{",", "."};
const NumberFormat kStopGroups{".", ","};
const NumberFormat kNoBreakSpaceGroups{"\u00A0", ","};
const NumberFormat kNarrowSpaceGroups{"\u202F", ","};

struct RegroupCase {
    const char* text;
    const char* regrouped;
};

void expectRegroups(const NumberFormat& format, std::initializer_list<RegroupCase> cases) {
    for (const RegroupCase& c : cases) {
        SCOPED_TRACE(std::string{"\""} + c.text + "\" with \"" + format.groupSeparator + "\" \"" +
                     format.decimalSeparator + "\"");
        EXPECT_EQ(regroup(c.text, format), c.regrouped);
    }
}

TEST(RegroupTest, CommaGroupsFullStopDecimal) {
    expectRegroups(kCommaGroups, {{"1234567", "1,234,567"},
                                  {"1,2345", "12,345"},
                                  {"0012", "12"},
                                  {"000", "0"},
                                  {"1,234.", "1,234"},
                                  {"12.5", "13"},
                                  {"12,34", "1,234"},
                                  {"01,234", "1,234"},
                                  {"-", "-"},
                                  {"?", "?"},
                                  {"5%", "5%"},
                                  {"abc", "abc"},
                                  {"", ""},
                                  {" \t", " \t"},
                                  {",", ","},
                                  {".", "."},
                                  {"-.", "-."},
                                  {",,5,,", "5"},
                                  {".5", "1"},
                                  {".4", "0"},
                                  {"+7", "7"},
                                  {" \t-1234 \t", "-1,234"},
                                  {"-0.4", "0"},
                                  {"-0.5", "-1"},
                                  {"2.5", "3"},
                                  {"-2.5", "-3"},
                                  {"0.49999", "0"},
                                  {"999.5", "1,000"},
                                  {"1.2,3", "1.2,3"},
                                  {"1..2", "1..2"},
                                  {"--1", "--1"},
                                  {"+-1", "+-1"},
                                  {"- 1", "- 1"},
                                  {"1-", "1-"},
                                  {"(1)", "(1)"},
                                  {"1e3", "1e3"},
                                  {"Rp1", "Rp1"},
                                  {"1 2", "1 2"},
                                  {"1\n", "1\n"}});
}

TEST(RegroupTest, FullStopGroupsCommaDecimal) {
    expectRegroups(kStopGroups, {{"1234567", "1.234.567"},
                                 {"1.234,", "1.234"},
                                 {"1.234,5", "1.235"},
                                 {"1,234", "1"},
                                 {"-1.5", "-15"},
                                 {"1,2.3", "1,2.3"}});
}

TEST(RegroupTest, MultiByteGroupSeparators) {
    expectRegroups(kNoBreakSpaceGroups, {{"1234567", "1\u00A0234\u00A0567"},
                                         {"12\u00A034\u00A05", "12\u00A0345"},
                                         {"1\u00A0234,5", "1\u00A0235"},
                                         {"1\u202F234", "1\u202F234"},
                                         {"1\xC2", "1\xC2"}});
    expectRegroups(kNarrowSpaceGroups,
                   {{"1234567", "1\u202F234\u202F567"}, {"1\u00A0234", "1\u00A0234"}});
}

// Unusable settings must neither hang nor let one mark mean two things.
TEST(RegroupTest, DegenerateSeparators) {
    expectRegroups({"", "."}, {{"1234567.5", "1234568"}, {"1,234", "1,234"}});
    expectRegroups({",", ""}, {{"1234,5", "12,345"}, {"1.5", "1.5"}});
    expectRegroups({"", ""}, {{"007", "7"}, {"1.5", "1.5"}});
    expectRegroups({",", ","}, {{"1234,5", "12,345"}, {"1,234,", "1,234"}});
    expectRegroups({"1", "."}, {{"2345", "2345"}, {"1.5", "2"}});
    expectRegroups({" ", "."}, {{" 1 234 ", "1 234"}, {"1234.5 ", "1 235"}});
    expectRegroups({".", ".."}, {{"1.234..5", "1.235"}, {"1..2.3", "1..2.3"}});
}

TEST(RegroupTest, ThirtyDigitNumbersAreExact) {
    expectRegroups(
        kCommaGroups,
        {{"123456789012345678901234567890", "123,456,789,012,345,678,901,234,567,890"},
         {"-999999999999999999999999999999.5", "-1,000,000,000,000,000,000,000,000,000,000"},
         {"000000000000000000000000000000.4999999999999999", "0"}});
}

struct ReadCase {
    const char* text;
    std::optional<std::int64_t> tenThousandths;
};

TEST(ReadAmountTest, ReadsWithinRange) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    const ReadCase cases[] = {
        {"1,234", 12'340'000},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"abc", std::nullopt},
        {"-0", 0},
        {"-0.00004", 0},
        {"0.00005", 1},
        {"-0.00005", -1},
        {"0.00004999", 0},
        {"0.49995", 5'000},
        {"1.23456", 12'346},
        {"-1.23455", -12'346},
        {"0.99995", 10'000},
        {"922,337,203,685,477.5807", kMax},
        {"922337203685477.58074", kMax},
        {"922337203685477.58075", std::nullopt},
        {"922337203685477.5808", std::nullopt},
        {"-922337203685477.5808", kMin},
        {"-922337203685477.58084", kMin},
        {"-922337203685477.58085", std::nullopt},
        {"-922337203685477.5809", std::nullopt},
        {"0000000000000000000000922337203685477", 9'223'372'036'854'770'000},
        {"9223372036854775807", std::nullopt},
        {"123456789012345678901234567890", std::nullopt},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.text);
        std::optional<Amount> expected;
        if (c.tenThousandths)
            expected = Amount::fromTenThousandths(*c.tenThousandths);
        EXPECT_EQ(readAmount(c.text, kCommaGroups), expected);
    }
}

TEST(ReadAmountTest, ReadsAsNumberWhateverItsSize) {
    EXPECT_TRUE(readsAsNumber("123456789012345678901234567890", kCommaGroups));
    EXPECT_TRUE(readsAsNumber("-922337203685477.5809", kCommaGroups));
    EXPECT_FALSE(readsAsNumber("1.2.3", kCommaGroups));
}

// Texts built from a known number with random leading zeros, separators, sign and blanks.
TEST(GroupingPropertyTest, RegroupsBuiltNumbersExactly) {
    std::mt19937 random(1234);
    const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    for (const NumberFormat* format :
         {&kCommaGroups, &kStopGroups, &kNoBreakSpaceGroups, &kNarrowSpaceGroups}) {
        for (int n = 0; n < 5'000; ++n) {
            const std::int64_t whole =
                std::uniform_int_distribution<std::int64_t>(0, 99'999'999'999'999)(random) /
                (pick(2) ? 1 : 100'000'000);
            const int sign = pick(3); // none, "+", "-"
            std::string text = std::string(pick(2), ' ') + (sign == 1 ? "+" : sign == 2 ? "-" : "");
            const std::string digits = std::string(pick(3), '0') + std::to_string(whole);
            for (const char digit : digits) {
                text += digit;
                if (pick(4) == 0)
                    text += format->groupSeparator;
            }
            std::string fraction;
            for (int f = pick(7); f > 0; --f)
                fraction += static_cast<char>('0' + pick(10));
            if (!fraction.empty() || pick(4) == 0)
                text += format->decimalSeparator + fraction;
            text += std::string(pick(2), '\t');

            SCOPED_TRACE(text);
            const std::int64_t magnitude = whole + (!fraction.empty() && fraction[0] >= '5');
            const std::int64_t rounded = sign == 2 ? -magnitude : magnitude;
            const std::string grouped = regroup(text, *format);
            EXPECT_EQ(readAmount(grouped, *format), Amount::fromTenThousandths(rounded * 10'000));
            EXPECT_EQ(regroup(grouped, *format), grouped);
            EXPECT_EQ(grouped.starts_with('-'), rounded < 0);
            EXPECT_EQ(grouped.find(format->decimalSeparator), std::string::npos);
            const std::string fourPlaces = (fraction + "0000").substr(0, 4);
            const std::int64_t exact = whole * 10'000 + std::stoll(fourPlaces) +
                                       (fraction.size() > 4 && fraction[4] >= '5');
            EXPECT_EQ(readAmount(text, *format),
                      Amount::fromTenThousandths(sign == 2 ? -exact : exact));
            if (HasFailure())
                return;
        }
    }
}

// Any text at all: regroup and readAmount agree on which are numbers.
TEST(GroupingPropertyTest, RegroupAndReadAmountAcceptTheSameTexts) {
    const std::string pieces[] = {"0", "1",  "5", "9", ",", ".",      "-",    "+",
                                  " ", "\t", "a", "%", "?", "\u00A0", "\xC2", "e"};
    std::mt19937 random(99);
    const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    int numbers = 0;
    for (const NumberFormat* format : {&kCommaGroups, &kStopGroups, &kNoBreakSpaceGroups}) {
        for (int n = 0; n < 50'000; ++n) {
            std::string text;
            for (int length = pick(9); length > 0; --length)
                text += pieces[pick(std::size(pieces))];
            SCOPED_TRACE(text);
            // Short enough that every number lies within the Amount's range.
            const bool number = readsAsNumber(text, *format);
            numbers += number;
            EXPECT_EQ(readAmount(text, *format).has_value(), number);
            const std::string grouped = regroup(text, *format);
            if (number) {
                EXPECT_EQ(regroup(grouped, *format), grouped);
                EXPECT_TRUE(readsAsNumber(grouped, *format));
            } else {
                EXPECT_EQ(grouped, text);
            }
            if (HasFailure())
                return;
        }
    }
    EXPECT_GT(numbers, 5'000);
}

} // namespace
} // namespace resipa

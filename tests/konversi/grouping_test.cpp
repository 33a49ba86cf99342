#include "konversi/amountfield.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <tuple>
#include <utility>

#include <gtest/gtest.h>

namespace resipa {
namespace {

const NumberFormat kComma{",", "."};
const NumberFormat kStop{".", ","};
const NumberFormat kNbsp{"\u00A0", ","};

// readAmount's result as a count of ten-thousandths, which prints readably.
std::optional<std::int64_t> read(std::string_view text, const NumberFormat& format) {
    const std::optional<Amount> amount = readAmount(text, format);
    return amount ? std::optional(amount->tenThousandths()) : std::nullopt;
}

TEST(Regroup, Cases) {
    const std::tuple<NumberFormat, const char*, const char*> cases[] = {
        {kComma, "999.5", "1,000"}, // halves away from zero, carried into a new group
        {kComma, ".5", "1"},
        {kComma, "-0.4", "0"}, // no sign on a zero
        {kComma, "-0.5", "-1"},
        {kComma, "123456789012345678901234567890", "123,456,789,012,345,678,901,234,567,890"},
        {kComma, "-999999999999999999999999999999.5", "-1,000,000,000,000,000,000,000,000,000,000"},
        {kStop, "1.234,5", "1.235"},
        {kNbsp, "1234567", "1\u00A0234\u00A0567"},
        {kNbsp, "1\u202F234", "1\u202F234"}, // another space is no separator
        {kNbsp, "1\xC2", "1\xC2"},           // nor is half of one
        // A separator holding a digit is unusable; one mark for both only groups; of two that
        // match, the longer is meant.
        {{"1", "."}, "2345", "2345"},
        {{",", ","}, "1234,5", "12,345"},
        {{".", ".."}, "1.234..5", "1.235"},
        {{"", "."}, "1234567.5", "1234568"},
    };
    for (const auto& [format, text, regrouped] : cases)
        EXPECT_EQ(regroup(text, format), regrouped) << text;
    for (const char* text : {"", "-", ".", "1.2,3", "1..2", "--1", "1-", "1 2", "5%", "1e3", "(1)"})
        EXPECT_FALSE(readsAsNumber(text, kComma)) << text;
}

TEST(ReadAmount, FourPlacesWithinRange) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    const std::pair<const char*, std::optional<std::int64_t>> cases[] = {
        {"0.00005", 1},
        {"-0.00005", -1},
        {"-0.00004", 0},
        {"0.99995", 10'000},
        {"922,337,203,685,477.5807", kMax},
        {"922337203685477.58074", kMax},
        {"922337203685477.58075", std::nullopt},
        {"-922337203685477.58084", kMin},
        {"-922337203685477.58085", std::nullopt},
        {"-922337203685477.5809", std::nullopt},
        {"0000000000000000000000922337203685477", 9'223'372'036'854'770'000},
        {"9223372036854775807", std::nullopt},
        {"123456789012345678901234567890", std::nullopt},
    };
    for (const auto& [text, tenThousandths] : cases)
        EXPECT_EQ(read(text, kComma), tenThousandths) << text;
}

TEST(WordsForAmountText, WordsOrLimitOrNothing) {
    const char* const limit = "Melewati batas konversi Rupiah";
    const std::pair<const char*, const char*> cases[] = {
        {"1,234.5", "SeRibu Dua Ratus Tiga Puluh Lima  Rupiah"},
        {"-0", " Rupiah"},
        {"9,999,999,999,999", limit},
        {"922337203685477.5808", limit}, // a number, but beyond the Amount's range
        {"-123456789012345678901234567890", limit},
        {"", ""},
        {"5%", ""},
    };
    for (const auto& [text, words] : cases)
        EXPECT_EQ(wordsForAmountText(text, kComma), words) << text;
    EXPECT_EQ(wordsForAmountText("1.234", kStop), "SeRibu Dua Ratus Tiga Puluh Empat  Rupiah");
    EXPECT_EQ(receiptAmountText("1234567.5", kComma), "Rp.1,234,568");
}

} // namespace
} // namespace resipa

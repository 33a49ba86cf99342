// Reads the words back with a reader of its own, so that the tables of the words routine are
// checked against Indonesian rather than against themselves.
#include "konversi/mdlKonversi.h"

#include <cstdint>
#include <map>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace resipa {
namespace {

constexpr std::int64_t kUnit = 10'000;

// The number the words say, or nothing when they are not well-formed Indonesian: words joined
// by single spaces, two spaces before "Rupiah" (one alone for zero), groups in falling scale,
// hundreds before tens before units, and "Se" where Indonesian says it.
std::optional<std::int64_t> readWords(const std::string& text) {
    if (text == " Rupiah")
        return 0;
    const std::string suffix = "  Rupiah";
    if (!text.ends_with(suffix))
        return std::nullopt;
    const std::string body = text.substr(0, text.size() - suffix.size());
    if (body.empty() || body.starts_with(' ') || body.ends_with(' '))
        return std::nullopt;
    std::vector<std::string> tokens;
    std::stringstream words(body);
    for (std::string token; std::getline(words, token, ' ');)
        tokens.push_back(token);

    const std::map<std::string, int> digits{{"Dua", 2},     {"Tiga", 3},    {"Empat", 4},
                                            {"Lima", 5},    {"Enam", 6},    {"Tujuh", 7},
                                            {"Delapan", 8}, {"Sembilan", 9}};
    const std::map<std::string, std::int64_t> scales{
        {"Ribu", 1'000}, {"Juta", 1'000'000}, {"Milyar", 1'000'000'000}};

    std::int64_t sign = 1, total = 0, group = 0, lastScale = 1'000'000'000'000;
    int place = 3; // the next place a group may fill: 3 hundreds, 2 tens, 1 units, 0 none
    const auto closeGroup = [&](std::int64_t scale) {
        if (group == 0 || scale >= lastScale)
            return false;
        total += group * scale;
        lastScale = scale;
        group = 0;
        place = 3;
        return true;
    };
    std::size_t i = 0;
    if (tokens[0] == "Minus") {
        sign = -1;
        ++i;
    }
    for (; i < tokens.size(); ++i) {
        const std::string& t = tokens[i];
        const std::string next = i + 1 < tokens.size() ? tokens[i + 1] : "";
        if (t == "SeRibu" && group == 0) {
            group = 1;
            if (!closeGroup(1'000))
                return std::nullopt;
        } else if (scales.contains(t)) {
            if (!closeGroup(scales.at(t)))
                return std::nullopt;
        } else if (t == "Seratus" && place == 3) {
            group += 100, place = 2;
        } else if ((t == "Sepuluh" || t == "Sebelas") && place >= 2) {
            group += t == "Sepuluh" ? 10 : 11, place = 0;
        } else if (t == "Satu" && place >= 1 && !(group == 0 && next == "Ribu")) {
            group += 1, place = 0; // a thousand alone is "SeRibu"
        } else if (digits.contains(t)) {
            const int d = digits.at(t);
            if (next == "Ratus" && place == 3)
                group += d * 100, place = 2, ++i;
            else if (next == "Puluh" && place >= 2)
                group += d * 10, place = 1, ++i;
            else if (next == "Belas" && place >= 2)
                group += 10 + d, place = 0, ++i;
            else if (place >= 1)
                group += d, place = 0;
            else
                return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    if (group != 0 && !closeGroup(1))
        return std::nullopt;
    if (total == 0)
        return std::nullopt;
    return sign * total;
}

void expectReadsBack(std::int64_t whole) {
    SCOPED_TRACE(whole);
    const std::string words = KonversiTerbilang(Amount::fromTenThousandths(whole * kUnit));
    const std::optional<std::int64_t> read = readWords(words);
    ASSERT_TRUE(read.has_value()) << '"' << words << '"';
    EXPECT_EQ(*read, whole) << '"' << words << '"';
}

TEST(WordsReaderTest, RejectsMalformedWords) {
    const char* malformed[] = {
        "Satu Rupiah",
        "Satu   Rupiah",
        "Satu  Rupiah ",
        " Satu  Rupiah",
        "Satu Ribu  Rupiah",
        "Se Ribu  Rupiah",
        "Satu Ratus  Rupiah",
        "Satu Puluh  Rupiah",
        "Satu Belas  Rupiah",
        "Dua  Puluh  Rupiah",
        "Ribu Juta  Rupiah",
        "SeRibu Dua Juta  Rupiah",
        "Lima Dua  Rupiah",
        "Dua Puluh Sepuluh  Rupiah",
        "Satu Juta Satu Juta  Rupiah",
        "Minus  Rupiah",
        "Nol  Rupiah",
    };
    for (const char* words : malformed) {
        SCOPED_TRACE(words);
        EXPECT_FALSE(readWords(words).has_value());
    }
    EXPECT_EQ(readWords("Dua Puluh Satu Milyar SeRibu Sebelas  Rupiah"), 21'000'001'011);
}

TEST(WordsReaderTest, RandomAmountsReadBack) {
    std::mt19937_64 random(20240501);
    std::uniform_int_distribution<std::int64_t> whole(0, 999'999'999'999);
    for (int n = 0; n < 200'000; ++n) {
        expectReadsBack(whole(random));
        if (HasFailure())
            return;
    }
}

TEST(WordsReaderTest, GroupBoundariesReadBack) {
    std::vector<std::int64_t> centres{1'001'000, 1'001'001'001, 1'000'001'000, 1'000'000'001};
    for (std::int64_t power = 10; power <= 1'000'000'000'000; power *= 10)
        centres.push_back(power);
    for (std::int64_t k = 1; k <= 999; k += 7)
        for (const std::int64_t scale : {1'000LL, 1'000'000LL, 1'000'000'000LL})
            centres.push_back(k * scale);
    for (const std::int64_t centre : centres)
        for (std::int64_t whole = centre - 2; whole <= centre + 2; ++whole)
            if (whole < 1'000'000'000'000)
                expectReadsBack(whole);
    for (std::int64_t whole = 0; whole <= 2'100; ++whole)
        expectReadsBack(whole);
}

TEST(WordsReaderTest, NegativeAmountsReadBack) {
    std::mt19937_64 random(7);
    std::uniform_int_distribution<std::int64_t> whole(1, 99'999'999'999);
    for (int n = 0; n < 10'000; ++n)
        expectReadsBack(-whole(random));
}

} // namespace
} // namespace resipa

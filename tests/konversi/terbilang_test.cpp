// The words are read back by an Indonesian reader of the test's own, so that the word tables are
// checked against the language rather than against themselves.
#include "konversi/mdlKonversi.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace resipa {
namespace {

constexpr std::int64_t U = 10'000; // ten-thousandths in one rupiah
constexpr const char* kLimit = "Melewati batas konversi Rupiah";

// The number that well-formed Indonesian words say, or none: single spaces between words, two
// before "Rupiah" (one alone for zero), groups in falling scale, each of hundreds, tens and
// units, and "Se" for one hundred, ten, eleven and one thousand.
std::optional<std::int64_t> readWords(const std::string& text) {
    if (text == " Rupiah")
        return 0;
    if (!text.ends_with("  Rupiah") || text.find("  ") != text.size() - 8 || text[0] == ' ')
        return std::nullopt;
    std::vector<std::string> w;
    std::istringstream in(text.substr(0, text.size() - 8));
    for (std::string word; in >> word;)
        w.push_back(word);
    static const char* const digits[] = {"",     "Satu", "Dua",   "Tiga",    "Empat",
                                         "Lima", "Enam", "Tujuh", "Delapan", "Sembilan"};
    std::size_t i = 0;
    bool bad = false;
    const auto take = [&](std::string_view word) { return i < w.size() && w[i] == word && ++i; };
    const auto digit = [&](int from) {
        for (int d = from; d <= 9; ++d)
            if (take(digits[d]))
                return d;
        return 0;
    };
    // D of "D <place>", Dua to Sembilan, both words taken; 0 when <place> does not follow.
    const auto digitBefore = [&](std::string_view place) {
        if (i + 1 >= w.size() || w[i + 1] != place)
            return 0;
        const int d = digit(2);
        bad = bad || d == 0; // "Satu Ratus", "Ribu Puluh"
        i += d != 0;
        return d;
    };
    const std::int64_t sign = take("Minus") ? -1 : 1;
    std::int64_t total = 0, lastScale = 1'000'000'000'000;
    while (i < w.size()) {
        std::int64_t group = 1, scale = 1'000;
        if (!take("SeRibu")) {
            group = take("Seratus") ? 100 : 100 * digitBefore("Ratus");
            if (take("Sepuluh") || take("Sebelas"))
                group += w[i - 1] == "Sepuluh" ? 10 : 11;
            else if (const int teen = digitBefore("Belas"))
                group += 10 + teen;
            else
                group += 10 * digitBefore("Puluh") + digit(1);
            scale = take("Ribu")     ? 1'000
                    : take("Juta")   ? 1'000'000
                    : take("Milyar") ? 1'000'000'000
                                     : 1;
            if (bad || group == 0 || (group == 1 && scale == 1'000))
                return std::nullopt; // one thousand is "SeRibu"
        }
        if (scale >= lastScale)
            return std::nullopt;
        total += group * scale;
        lastScale = scale;
    }
    return total == 0 ? std::nullopt : std::optional(sign * total);
}

TEST(KonversiTerbilang, WordsReadBackAsTheAmount) {
    for (const char* malformed : {"Satu Rupiah", "Satu   Rupiah", " Satu  Rupiah", "Nol  Rupiah",
                                  "Satu Ribu  Rupiah", "Satu Ratus  Rupiah", "Satu Belas  Rupiah",
                                  "Dua Puluh Sepuluh  Rupiah", "SeRibu Dua Juta  Rupiah"})
        EXPECT_EQ(readWords(malformed), std::nullopt) << malformed;

    // Every group boundary, then a large random sample; the sign takes one of twelve characters.
    std::vector<std::int64_t> wholes{999'999'999'999};
    for (const std::int64_t scale : {1LL, 1'000LL, 1'000'000LL, 1'000'000'000LL})
        for (std::int64_t k = 0; k < 1'000; ++k)
            for (const std::int64_t offset : {-1, 0, 1, 1'000, 1'001'000})
                wholes.push_back(std::max<std::int64_t>(0, k * scale + offset));
    std::mt19937_64 random(20240501);
    std::uniform_int_distribution<std::int64_t> anyWhole(0, 999'999'999'999);
    for (int n = 0; n < 200'000; ++n)
        wholes.push_back(anyWhole(random));
    for (const std::int64_t whole : wholes) {
        for (const std::int64_t amount : {whole, whole < 100'000'000'000 ? -whole : whole}) {
            const std::string words = KonversiTerbilang(Amount::fromTenThousandths(amount * U));
            ASSERT_EQ(readWords(words), amount) << '"' << words << '"';
        }
    }
}

TEST(KonversiTerbilang, EdgeCases) {
    const std::pair<std::int64_t, const char*> cases[] = {
        {0, " Rupiah"},
        {1'000 * U, "SeRibu  Rupiah"},
        {-5 * U, "Minus Lima  Rupiah"},
        // Whole rupiah, halves away from zero; what rounds to zero is plain zero.
        {25'000, "Tiga  Rupiah"},
        {-25'000, "Minus Tiga  Rupiah"},
        {-4'999, " Rupiah"},
        // At most twelve characters of plain text: sign, digits, separator, fraction digits.
        {1'000'000'000'000 * U, kLimit},
        {-999'999'999'999 * U, kLimit},
        {10'000'001'234, "Satu Juta  Rupiah"},             // 1000000.1234
        {100'000'001'234, kLimit},                         // 10000000.1234
        {100'000'001'000, "Sepuluh Juta  Rupiah"},         // 10000000.1
        {99'999'999'999'000, "Sepuluh Milyar  Rupiah"},    // 9999999999.9
        {-9'999'999'999'000, "Minus Satu Milyar  Rupiah"}, // -999999999.9
        {-99'999'999'999'000, kLimit},                     // -9999999999.9
        {std::numeric_limits<std::int64_t>::min(), kLimit},
    };
    for (const auto& [tenThousandths, words] : cases)
        EXPECT_EQ(KonversiTerbilang(Amount::fromTenThousandths(tenThousandths)), words)
            << tenThousandths;
}

TEST(KonversiRatusan, OneGroupOrNothing) {
    const std::tuple<const char*, std::uint8_t, const char*> cases[] = {
        {"001", 3, "Se"}, {"001", 2, "Satu "}, {"219", 1, "Dua Ratus Sembilan Belas "},
        {"12", 4, ""},    {"1a2", 4, ""},
    };
    for (const auto& [group, position, words] : cases)
        EXPECT_EQ(KonversiRatusan(group, position), words) << group << " at " << +position;
}

} // namespace
} // namespace resipa

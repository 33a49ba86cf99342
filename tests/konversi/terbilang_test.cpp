#include "konversi/mdlKonversi.h"

#include <cstdint>
#include <limits>
#include <string>
#include <tuple>
#include <utility>

#include <gtest/gtest.h>

namespace resipa {
namespace {

constexpr std::int64_t U = 10'000; // ten-thousandths in one rupiah
constexpr const char* kLimit = "Melewati batas konversi Rupiah";

// Every word rule: the "Se" forms, teens, tens, each scale, zero groups skipped, the largest.
TEST(KonversiTerbilang, WordsOfWholeAmounts) {
    const std::pair<std::int64_t, const char*> cases[] = {
        {1, "Satu"},
        {10, "Sepuluh"},
        {11, "Sebelas"},
        {15, "Lima Belas"},
        {21, "Dua Puluh Satu"},
        {110, "Seratus Sepuluh"},
        {111, "Seratus Sebelas"},
        {120, "Seratus Dua Puluh"},
        {1'001, "SeRibu Satu"},
        {1'100, "SeRibu Seratus"},
        {11'000, "Sebelas Ribu"},
        {101'000, "Seratus Satu Ribu"},
        {2'000'000, "Dua Juta"},
        {1'000'001, "Satu Juta Satu"},
        {1'001'001'001, "Satu Milyar Satu Juta SeRibu Satu"},
        {876'543'210'987, "Delapan Ratus Tujuh Puluh Enam Milyar Lima Ratus Empat Puluh Tiga Juta "
                          "Dua Ratus Sepuluh Ribu Sembilan Ratus Delapan Puluh Tujuh"},
        {999'999'999'999, "Sembilan Ratus Sembilan Puluh Sembilan Milyar Sembilan Ratus Sembilan "
                          "Puluh Sembilan Juta Sembilan Ratus Sembilan Puluh Sembilan Ribu "
                          "Sembilan Ratus Sembilan Puluh Sembilan"},
    };
    for (const auto& [whole, words] : cases)
        EXPECT_EQ(KonversiTerbilang(Amount::fromTenThousandths(whole * U)),
                  std::string(words) + "  Rupiah");
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

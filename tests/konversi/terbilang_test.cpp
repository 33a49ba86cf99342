#include "konversi/mdlKonversi.h"

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <string>

#include <gtest/gtest.h>

namespace resipa {
namespace {

constexpr std::int64_t kUnit = 10'000;
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

struct WordsCase {
    std::int64_t tenThousandths;
    const char* words;
};

void expectWords(std::initializer_list<WordsCase> cases) {
    for (const WordsCase& c : cases) {
        SCOPED_TRACE(c.tenThousandths);
        EXPECT_EQ(KonversiTerbilang(Amount::fromTenThousandths(c.tenThousandths)), c.words);
    }
}

TEST(KonversiTerbilangTest, EdgeCases) {
    expectWords({{0, " Rupiah"},
                 {1 * kUnit, "Satu  Rupiah"},
                 {10 * kUnit, "Sepuluh  Rupiah"},
                 {11 * kUnit, "Sebelas  Rupiah"},
                 {12 * kUnit, "Dua Belas  Rupiah"},
                 {15 * kUnit, "Lima Belas  Rupiah"},
                 {20 * kUnit, "Dua Puluh  Rupiah"},
                 {21 * kUnit, "Dua Puluh Satu  Rupiah"},
                 {100 * kUnit, "Seratus  Rupiah"},
                 {101 * kUnit, "Seratus Satu  Rupiah"},
                 {110 * kUnit, "Seratus Sepuluh  Rupiah"},
                 {111 * kUnit, "Seratus Sebelas  Rupiah"},
                 {115 * kUnit, "Seratus Lima Belas  Rupiah"},
                 {120 * kUnit, "Seratus Dua Puluh  Rupiah"},
                 {1'000 * kUnit, "SeRibu  Rupiah"},
                 {1'001 * kUnit, "SeRibu Satu  Rupiah"},
                 {1'011 * kUnit, "SeRibu Sebelas  Rupiah"},
                 {1'100 * kUnit, "SeRibu Seratus  Rupiah"},
                 {2'000 * kUnit, "Dua Ribu  Rupiah"},
                 {10'000 * kUnit, "Sepuluh Ribu  Rupiah"},
                 {11'000 * kUnit, "Sebelas Ribu  Rupiah"},
                 {21'000 * kUnit, "Dua Puluh Satu Ribu  Rupiah"},
                 {100'000 * kUnit, "Seratus Ribu  Rupiah"},
                 {101'000 * kUnit, "Seratus Satu Ribu  Rupiah"},
                 {1'000'000 * kUnit, "Satu Juta  Rupiah"},
                 {1'001'000 * kUnit, "Satu Juta SeRibu  Rupiah"},
                 {1'000'001 * kUnit, "Satu Juta Satu  Rupiah"},
                 {1'001'001'001 * kUnit, "Satu Milyar Satu Juta SeRibu Satu  Rupiah"},
                 {999'999'999'999 * kUnit,
                  "Sembilan Ratus Sembilan Puluh Sembilan Milyar Sembilan Ratus Sembilan Puluh "
                  "Sembilan Juta Sembilan Ratus Sembilan Puluh Sembilan Ribu Sembilan Ratus "
                  "Sembilan Puluh Sembilan  Rupiah"},
                 {1'000'000'000'000 * kUnit, "Melewati batas konversi Rupiah"},
                 {12'345'000, "SeRibu Dua Ratus Tiga Puluh Lima  Rupiah"},
                 {999'999'999'995'000, "Melewati batas konversi Rupiah"}});
}

// The plain text counts sign, separator and up to four fraction digits against twelve.
TEST(KonversiTerbilangTest, LengthLimit) {
    expectWords({{99'999'999'999'000, "Sepuluh Milyar  Rupiah"}, // 9999999999.9
                 {12'345'671'234, "Satu Juta Dua Ratus Tiga Puluh Empat Ribu Lima Ratus Enam "
                                  "Puluh Tujuh  Rupiah"},             // 1234567.1234
                 {123'456'781'234, "Melewati batas konversi Rupiah"}, // 12345678.1234
                 {123'456'781'000, "Dua Belas Juta Tiga Ratus Empat Puluh Lima Ribu Enam Ratus "
                                   "Tujuh Puluh Delapan  Rupiah"},        // 12345678.1
                 {9'999'999'999'990, "Melewati batas konversi Rupiah"},   // 999999999.999
                 {-9'999'999'999'000, "Minus Satu Milyar  Rupiah"},       // -999999999.9
                 {-99'999'999'999'000, "Melewati batas konversi Rupiah"}, // -9999999999.9
                 {1, " Rupiah"},
                 {4'999, " Rupiah"},
                 {5'000, "Satu  Rupiah"},
                 {25'000, "Tiga  Rupiah"},
                 {kMax, "Melewati batas konversi Rupiah"}});
}

// Negative amounts say "Minus" and the words of their magnitude, the sign counting as a
// character; one that rounds to zero is plain zero.
TEST(KonversiTerbilangTest, Negative) {
    expectWords({{-5 * kUnit, "Minus Lima  Rupiah"},
                 {-1'000 * kUnit, "Minus SeRibu  Rupiah"},
                 {-99'999'999'999 * kUnit,
                  "Minus Sembilan Puluh Sembilan Milyar Sembilan Ratus Sembilan Puluh "
                  "Sembilan Juta Sembilan Ratus Sembilan Puluh Sembilan Ribu Sembilan "
                  "Ratus Sembilan Puluh Sembilan  Rupiah"},
                 {-999'999'999'999 * kUnit, "Melewati batas konversi Rupiah"},
                 {-4'999, " Rupiah"},
                 {-5'000, "Minus Satu  Rupiah"},
                 {-15'000, "Minus Dua  Rupiah"},
                 {-1, " Rupiah"},
                 {kMin, "Melewati batas konversi Rupiah"}});
}

struct GroupCase {
    const char* group;
    std::uint8_t position;
    const char* words;
};

TEST(KonversiRatusanTest, SpellsOneGroup) {
    const GroupCase cases[] = {
        {"001", 1, "Satu "},
        {"001", 2, "Satu "},
        {"001", 3, "Se"},
        {"001", 4, "Satu "},
        {"000", 1, ""},
        {"000", 3, ""},
        {"000", 4, ""},
        {"010", 1, "Sepuluh "},
        {"010", 3, "Sepuluh "},
        {"011", 3, "Sebelas "},
        {"101", 3, "Seratus Satu "},
        {"021", 3, "Dua Puluh Satu "},
        {"219", 2, "Dua Ratus Sembilan Belas "},
        {"999", 4, "Sembilan Ratus Sembilan Puluh Sembilan "},
        {"12", 4, ""},
        {"1234", 4, ""},
        {"1a2", 4, ""},
        {"-01", 4, ""},
    };
    for (const GroupCase& c : cases) {
        SCOPED_TRACE(std::string{c.group} + " at " + std::to_string(c.position));
        EXPECT_EQ(KonversiRatusan(c.group, c.position), c.words);
    }
}

} // namespace
} // namespace resipa

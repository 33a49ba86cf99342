#include "konversi/amountfield.h"

#include <string>

#include <gtest/gtest.h>

namespace resipa {
namespace {

// Every code point and a little beyond: control codes, Enter, letters, blanks, other scripts'
// digits and codes outside the BMP are all discarded.
TEST(SaringAngkaTest, KeepsOnlyTheFieldsCharacters) {
    const std::u32string allowed = U"\b0123456789,.?%-";
    for (char32_t code = 0; code <= 0x110001; ++code) {
        char32_t filtered = code;
        SaringAngka(filtered);
        const bool kept = allowed.find(code) != std::u32string::npos;
        ASSERT_EQ(filtered, kept ? code : 0);
        ASSERT_EQ(isAmountFieldChar(code), kept) << static_cast<unsigned long>(code);
    }
    EXPECT_FALSE(isAmountFieldChar(0xFFFFFFFF));
}

struct FieldCase {
    const char* text;
    const char* words;
};

TEST(WordsForAmountTextTest, WordsOrLimitOrNothing) {
    const NumberFormat commaGroups{",", "."};
    const FieldCase cases[] = {
        {"1", "Satu  Rupiah"},
        {"1,234", "SeRibu Dua Ratus Tiga Puluh Empat  Rupiah"},
        {"0", " Rupiah"},
        {"-5", "Minus Lima  Rupiah"},
        {"-0", " Rupiah"},
        {"1,234.5", "SeRibu Dua Ratus Tiga Puluh Lima  Rupiah"},
        {"9,999,999,999,999", "Melewati batas konversi Rupiah"},
        {"922337203685477.5808", "Melewati batas konversi Rupiah"},
        {"-123456789012345678901234567890", "Melewati batas konversi Rupiah"},
        {"", ""},
        {"-", ""},
        {",", ""},
        {"5%", ""},
        {"1?", ""},
        {"abc", ""},
    };
    for (const FieldCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(wordsForAmountText(c.text, commaGroups), c.words);
    }
    EXPECT_EQ(wordsForAmountText("1.234", {".", ","}), "SeRibu Dua Ratus Tiga Puluh Empat  Rupiah");
}

} // namespace
} // namespace resipa

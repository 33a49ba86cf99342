#include "konversi/amountfield.h"

#include <string>
#include <utility>

#include <gtest/gtest.h>

namespace resipa {
namespace {

// Every code point and a little beyond: control codes, Enter, letters, blanks, other scripts'
// digits and codes outside the BMP are all discarded.
TEST(SaringAngka, KeepsOnlyTheFieldsCharacters) {
    const std::u32string allowed = U"\b0123456789,.?%-";
    for (char32_t code = 0; code <= 0x110001; ++code) {
        char32_t filtered = code;
        SaringAngka(filtered);
        ASSERT_EQ(filtered, allowed.find(code) != std::u32string::npos ? code : 0)
            << static_cast<unsigned long>(code);
    }
}

TEST(WordsForAmountText, WordsOrLimitOrNothing) {
    const NumberFormat comma{",", "."};
    const char* const limit = "Melewati batas konversi Rupiah";
    const std::pair<const char*, const char*> cases[] = {
        {"1,234.5", "SeRibu Dua Ratus Tiga Puluh Lima  Rupiah"},
        {"-0", " Rupiah"},
        {"9,999,999,999,999", limit},
        {"922337203685477.5808", limit}, // a number, but beyond the Amount's range
        {"-123456789012345678901234567890", limit},
        {"", ""},
        {"-", ""},
        {"5%", ""},
        {"1?", ""},
    };
    for (const auto& [text, words] : cases)
        EXPECT_EQ(wordsForAmountText(text, comma), words) << text;
    EXPECT_EQ(wordsForAmountText("1.234", {".", ","}), "SeRibu Dua Ratus Tiga Puluh Empat  Rupiah");
}

} // namespace
} // namespace resipa

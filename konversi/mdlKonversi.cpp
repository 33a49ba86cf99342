#include "konversi/mdlKonversi.h"

#include "konversi/ascii.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>

namespace resipa {
namespace {

using namespace std::string_view_literals;

// Every word ends in one space, so words are joined by appending alone.
constexpr std::array kDigitWords{""sv,      "Satu "sv, "Dua "sv,   "Tiga "sv,    "Empat "sv,
                                 "Lima "sv, "Enam "sv, "Tujuh "sv, "Delapan "sv, "Sembilan "sv};
// Indexed by group position: 1 is the leftmost of the four groups, 4 the units.
constexpr std::array kScaleWords{""sv, "Milyar "sv, "Juta "sv, "Ribu "sv, ""sv};

constexpr std::string_view kHundred = "Ratus ";
constexpr std::string_view kTens = "Puluh ";
constexpr std::string_view kOneHundred = "Seratus ";
constexpr std::string_view kTen = "Sepuluh ";
constexpr std::string_view kEleven = "Sebelas ";
constexpr std::string_view kTeen = "Belas ";
// Joined directly to "Ribu " to make "SeRibu ".
constexpr std::string_view kOneThousandPrefix = "Se";
constexpr std::string_view kMinus = "Minus ";
constexpr std::string_view kCurrency = " Rupiah";
constexpr std::string_view kLimitMessage = "Melewati batas konversi";

constexpr std::uint8_t kThousandsPosition = 3;
constexpr std::uint8_t kGroupCount = 4;
constexpr std::uint64_t kUnit = 10'000; // ten-thousandths in one rupiah
constexpr std::size_t kMaxPlainTextLength = 12;

constexpr std::size_t longestWord(const auto& table) {
    std::size_t longest = 0;
    for (const std::string_view word : table)
        longest = std::max(longest, word.size());
    return longest;
}

// Hundreds, tens and units each as a digit word and a place word; the "Se" and teen forms are
// shorter.
constexpr std::size_t kMaxGroupLength =
    3 * longestWord(kDigitWords) + kHundred.size() + kTens.size();
constexpr std::size_t kMaxWordsLength =
    kMinus.size() + kGroupCount * (kMaxGroupLength + longestWord(kScaleWords)) + kCurrency.size();

// A word or a group's words, padded so that it is copied with one fixed-size copy: the hot path
// then makes no call per word.
template <std::size_t Width>
struct PaddedWords {
    std::array<char, Width> text{};
    std::size_t size = 0;
};

constexpr std::size_t kGroupWidth = 48;
constexpr std::size_t kScaleWidth = 8;
static_assert(kMaxGroupLength <= kGroupWidth && longestWord(kScaleWords) <= kScaleWidth);

// The words under construction, on the stack, with room for one padded copy past the longest
// words: the only allocation of a call is the one for its result.
template <std::size_t Capacity>
class WordBuffer {
public:
    constexpr void append(std::string_view word) {
        std::copy(word.begin(), word.end(), m_text.begin() + m_size);
        m_size += word.size();
    }
    template <std::size_t Width>
    void append(const PaddedWords<Width>& words) {
        static_assert(Width <= kGroupWidth);
        std::memcpy(m_text.data() + m_size, words.text.data(), Width);
        m_size += words.size;
    }
    constexpr std::string_view view() const { return {m_text.data(), m_size}; }
    std::string text() const { return std::string{view()}; }

private:
    // Left uninitialised: only the first m_size characters are ever read.
    std::array<char, Capacity + kGroupWidth> m_text;
    std::size_t m_size = 0;
};

// One thousand says "SeRibu", every other one "Satu".
constexpr bool saysSe(unsigned group, std::uint8_t position) {
    return group == 1 && position == kThousandsPosition;
}

template <std::size_t Capacity>
constexpr void appendGroupWords(WordBuffer<Capacity>& words, unsigned group,
                                std::uint8_t position) {
    const unsigned hundreds = group / 100;
    const unsigned tens = group / 10 % 10;
    const unsigned units = group % 10;

    if (hundreds == 1) {
        words.append(kOneHundred);
    } else if (hundreds > 1) {
        words.append(kDigitWords[hundreds]);
        words.append(kHundred);
    }

    if (tens == 1) {
        // A teen takes the units digit with it.
        if (units == 0) {
            words.append(kTen);
        } else if (units == 1) {
            words.append(kEleven);
        } else {
            words.append(kDigitWords[units]);
            words.append(kTeen);
        }
        return;
    }
    if (tens > 1) {
        words.append(kDigitWords[tens]);
        words.append(kTens);
    }

    if (saysSe(group, position))
        words.append(kOneThousandPrefix);
    else
        words.append(kDigitWords[units]);
}

template <std::size_t Width>
constexpr PaddedWords<Width> padded(std::string_view words) {
    PaddedWords<Width> result;
    std::copy(words.begin(), words.end(), result.text.begin());
    result.size = words.size();
    return result;
}

// The words of every group outside the "Se" case, spelled once, at compile time.
constexpr auto kGroupWords = [] {
    constexpr std::uint8_t kUnitsPosition = 4;
    std::array<PaddedWords<kGroupWidth>, 1000> table;
    for (unsigned group = 0; group < table.size(); ++group) {
        WordBuffer<kMaxGroupLength> words;
        appendGroupWords(words, group, kUnitsPosition);
        table[group] = padded<kGroupWidth>(words.view());
    }
    return table;
}();

constexpr auto kPaddedScaleWords = [] {
    std::array<PaddedWords<kScaleWidth>, kScaleWords.size()> table;
    for (std::size_t i = 0; i < table.size(); ++i)
        table[i] = padded<kScaleWidth>(kScaleWords[i]);
    return table;
}();

constexpr std::array<std::uint64_t, kMaxPlainTextLength + 1> kPowersOfTen = [] {
    std::array<std::uint64_t, kMaxPlainTextLength + 1> powers{1};
    for (std::size_t i = 1; i < powers.size(); ++i)
        powers[i] = powers[i - 1] * 10;
    return powers;
}();

// Whether the amount's plain text fits in twelve characters: sign, integer digits, and the
// separator with up to four fraction digits (trailing zeros dropped) when there is a fraction.
// The separator is one character in every locale. Compared against a power of ten rather than
// written out, as this runs for every amount.
bool plainTextFits(bool negative, std::uint64_t magnitude) {
    std::size_t otherCharacters = negative ? 1 : 0;
    if (std::uint64_t fraction = magnitude % kUnit; fraction != 0) {
        std::size_t fractionDigits = 4;
        for (; fraction % 10 == 0; fraction /= 10)
            --fractionDigits;
        otherCharacters += 1 + fractionDigits;
    }
    return magnitude / kUnit < kPowersOfTen[kMaxPlainTextLength - otherCharacters];
}

} // namespace

std::string KonversiTerbilang(Amount amount) {
    const std::int64_t count = amount.tenThousandths();
    const bool negative = count < 0;
    // Unsigned, so that the most negative amount has a magnitude too.
    const std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(count) : static_cast<std::uint64_t>(count);

    if (!plainTextFits(negative, magnitude))
        return limitWords();

    // The length test leaves at most twelve integer digits, so rounding up cannot overflow
    // into a thirteenth.
    const std::uint64_t whole = magnitude / kUnit + (magnitude % kUnit >= kUnit / 2 ? 1 : 0);

    WordBuffer<kMaxWordsLength> words;
    // An amount that rounds to zero is plain zero, not "Minus".
    if (negative && whole != 0)
        words.append(kMinus);
    // Indexed by position, like the scale words.
    const std::array<unsigned, kGroupCount + 1> groups{
        0, static_cast<unsigned>(whole / 1'000'000'000),
        static_cast<unsigned>(whole / 1'000'000 % 1000),
        static_cast<unsigned>(whole / 1'000 % 1000), static_cast<unsigned>(whole % 1000)};
    for (std::uint8_t position = 1; position <= kGroupCount; ++position) {
        const unsigned group = groups[position];
        if (group == 0)
            continue;
        if (saysSe(group, position))
            words.append(kOneThousandPrefix);
        else
            words.append(kGroupWords[group]);
        words.append(kPaddedScaleWords[position]);
    }
    words.append(kCurrency);
    return words.text();
}

std::string KonversiRatusan(std::string_view group, std::uint8_t position) {
    // Anything but three digits has no words rather than reading past the text.
    if (group.size() != 3 || !std::ranges::all_of(group, isAsciiDigit))
        return {};
    const auto digit = [&](std::size_t i) { return static_cast<unsigned>(group[i] - '0'); };
    WordBuffer<kMaxGroupLength> words;
    appendGroupWords(words, digit(0) * 100 + digit(1) * 10 + digit(2), position);
    return words.text();
}

std::string limitWords() {
    std::string words{kLimitMessage};
    words += kCurrency;
    return words;
}

} // namespace resipa

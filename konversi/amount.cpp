#include "konversi/amount.h"

#include "konversi/ascii.h"

#include <algorithm>
#include <cstddef>
#include <limits>

namespace resipa {
namespace {

// The separators as the reader uses them.
struct Separators {
    std::string_view group;
    std::string_view decimal;
};

Separators usableSeparators(const NumberFormat& format) {
    Separators separators{format.groupSeparator, format.decimalSeparator};
    // A separator holding a digit would make the digits themselves ambiguous.
    if (std::ranges::any_of(separators.group, isAsciiDigit))
        separators.group = {};
    if (std::ranges::any_of(separators.decimal, isAsciiDigit))
        separators.decimal = {};
    // With one mark for both, it groups only: regrouped text must read back as the number it
    // shows, and "1,234" must not turn into one and a bit.
    if (separators.decimal == separators.group)
        separators.decimal = {};
    return separators;
}

// A number text taken apart: the integer digits without grouping and leading zeros (empty for
// zero), and the fraction digits as written.
struct NumberText {
    bool negative = false;
    std::string integerDigits;
    std::string_view fractionDigits;
};

// The one reader of number texts: blanks, an optional leading sign, digits with grouping
// separators anywhere among them, optionally the decimal separator and fraction digits, blanks;
// at least one digit.
std::optional<NumberText> parseNumber(std::string_view text, const NumberFormat& format) {
    const Separators separators = usableSeparators(format);
    NumberText number;
    std::size_t i = 0;
    const auto skipBlanks = [&] {
        while (i < text.size() && isBlank(text[i]))
            ++i;
    };
    // An empty separator never matches; of two that both match, the longer one is meant.
    const auto startsHere = [&](std::string_view separator) {
        return !separator.empty() && text.substr(i).starts_with(separator);
    };

    skipBlanks();
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        number.negative = text[i] == '-';
        ++i;
    }

    bool anyDigit = false;
    bool decimalFollows = false;
    while (i < text.size()) {
        const char c = text[i];
        if (isAsciiDigit(c)) {
            if (c != '0' || !number.integerDigits.empty())
                number.integerDigits += c;
            anyDigit = true;
            ++i;
            continue;
        }
        const bool group = startsHere(separators.group);
        const bool decimal = startsHere(separators.decimal);
        if (decimal && (!group || separators.decimal.size() > separators.group.size())) {
            i += separators.decimal.size();
            decimalFollows = true;
            break;
        }
        if (!group)
            break;
        i += separators.group.size();
    }

    if (decimalFollows) {
        const std::size_t start = i;
        while (i < text.size() && isAsciiDigit(text[i]))
            ++i;
        number.fractionDigits = text.substr(start, i - start);
        anyDigit = anyDigit || !number.fractionDigits.empty();
    }

    skipBlanks();
    if (i != text.size() || !anyDigit)
        return std::nullopt;
    return number;
}

// Adds one to a decimal digit text; the empty text stands for zero.
void increment(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

// The magnitude is rounded, so a half or more rounds up: halves away from zero.
bool roundsUp(std::string_view fractionDigits, std::size_t keptDigits) {
    return fractionDigits.size() > keptDigits && fractionDigits[keptDigits] >= '5';
}

constexpr std::size_t kFractionDigits = 4;
// The largest magnitude, 922,337,203,685,477.5808, has fifteen integer digits; up to fifteen
// the arithmetic below stays within 64 unsigned bits.
constexpr std::size_t kMaxIntegerDigits = 15;

} // namespace

std::string regroup(std::string_view text, const NumberFormat& format) {
    const std::optional<NumberText> number = parseNumber(text, format);
    if (!number)
        return std::string{text};

    std::string digits = number->integerDigits;
    if (roundsUp(number->fractionDigits, 0))
        increment(digits);
    if (digits.empty())
        digits.push_back('0');

    const std::string_view separator = usableSeparators(format).group;
    const bool negative = number->negative && digits != "0";
    std::string grouped;
    grouped.reserve(1 + digits.size() + digits.size() / 3 * separator.size());
    if (negative)
        grouped += '-';
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i != 0 && (digits.size() - i) % 3 == 0)
            grouped += separator;
        grouped += digits[i];
    }
    return grouped;
}

std::optional<Amount> readAmount(std::string_view text, const NumberFormat& format) {
    const std::optional<NumberText> number = parseNumber(text, format);
    if (!number || number->integerDigits.size() > kMaxIntegerDigits)
        return std::nullopt;

    std::uint64_t magnitude = 0;
    for (const char c : number->integerDigits)
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(c - '0');
    const std::string_view fraction = number->fractionDigits;
    for (std::size_t i = 0; i < kFractionDigits; ++i) {
        magnitude = magnitude * 10 +
                    (i < fraction.size() ? static_cast<std::uint64_t>(fraction[i] - '0') : 0);
    }
    if (roundsUp(fraction, kFractionDigits))
        ++magnitude;

    constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    if (magnitude > kMax + (number->negative ? 1 : 0))
        return std::nullopt;
    if (!number->negative)
        return Amount::fromTenThousandths(static_cast<std::int64_t>(magnitude));
    // Negated in two steps so that the most negative count is reached without overflow.
    return magnitude == 0
               ? Amount{}
               : Amount::fromTenThousandths(-static_cast<std::int64_t>(magnitude - 1) - 1);
}

bool readsAsNumber(std::string_view text, const NumberFormat& format) {
    return parseNumber(text, format).has_value();
}

} // namespace resipa

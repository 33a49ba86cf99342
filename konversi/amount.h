#pragma once

/// @file
/// The currency value and the grouping rule for amount texts.

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace resipa {

/// A currency value: a signed 64-bit count of ten-thousandths of a rupiah.
class Amount {
public:
    constexpr Amount() = default;

    static constexpr Amount fromTenThousandths(std::int64_t count) {
        Amount amount;
        amount.m_tenThousandths = count;
        return amount;
    }

    constexpr std::int64_t tenThousandths() const { return m_tenThousandths; }

    friend constexpr auto operator<=>(Amount, Amount) = default;

private:
    std::int64_t m_tenThousandths = 0;
};

/// The regional number rules, as UTF-8 texts. A separator may be several bytes long
/// (U+00A0 or U+202F as grouping separator, for instance).
struct NumberFormat {
    std::string groupSeparator;
    std::string decimalSeparator;
};

/// Regroups an amount text with the pattern "#,##0": rounded to whole units (halves away from
/// zero), grouping separator between every three digits, "-" in front of a negative result.
/// A text that does not read as a number comes back unchanged. Exact for numbers of any length.
std::string regroup(std::string_view text, const NumberFormat& format);

/// Reads an amount text as an Amount, kept to four decimal places (halves away from zero).
/// No amount for a text that does not read as a number, or whose number lies outside the
/// Amount's range. Accepts exactly the texts that regroup() regroups.
std::optional<Amount> readAmount(std::string_view text, const NumberFormat& format);

/// True when the text reads as a number, whatever its size.
bool readsAsNumber(std::string_view text, const NumberFormat& format);

} // namespace resipa

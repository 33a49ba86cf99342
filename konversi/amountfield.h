#pragma once

/// @file
/// The amount field's key filter and the words it shows for its text.

#include "konversi/amount.h"

#include <string>
#include <string_view>

namespace resipa {

/// True for the characters the amount field admits: the digits, ",", ".", "?", "%", "-", and
/// Backspace (8).
constexpr bool isAmountFieldChar(char32_t code) {
    if (code == 8 || (code >= U'0' && code <= U'9'))
        return true;
    switch (code) {
    case U',':
    case U'.':
    case U'?':
    case U'%':
    case U'-':
        return true;
    default:
        return false;
    }
}

/// The key filter: sets the character code to 0 unless the amount field admits it.
constexpr void SaringAngka(char32_t& KeyAscii) {
    if (!isAmountFieldChar(KeyAscii))
        KeyAscii = 0;
}

/// The words the words field shows for an amount field's text: the amount in words when the
/// text reads as an Amount, the limit message when it reads as a number beyond the Amount's
/// range, and the empty text when it is not a number.
std::string wordsForAmountText(std::string_view text, const NumberFormat& format);

/// What the receipt prints for an amount field's text: "Rp." and the text regrouped,
/// "Rp.1,500,000".
std::string receiptAmountText(std::string_view text, const NumberFormat& format);

} // namespace resipa

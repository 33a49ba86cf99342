#pragma once

/// @file
/// Byte classes shared by the readers of amounts, template lines and profile items.

namespace resipa {

constexpr bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

constexpr bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

/// A blank within a line: space or tab.
constexpr bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace resipa

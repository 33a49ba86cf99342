#pragma once

/// @file
/// Where a template line may be cut so that its pieces fill as the whole line does.

#include "konversi/ascii.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace resipa {

/// The RTF syntax a stretch of text leaves open, read from its start as a reader reads it: a
/// backslash, the letters or the number of a control word ("\fs24"), a hex escape short of its
/// two digits ("\'e"); Text when nothing is open.
enum class SyntaxState { Text, Backslash, WordLetters, WordNumber, HexFirst, HexSecond };

/// The state after reading @p c in @p state.
constexpr SyntaxState nextSyntaxState(SyntaxState state, char c) {
    using enum SyntaxState;
    switch (state) {
    case Backslash:
        if (isAsciiLetter(c)) {
            return WordLetters;
        }
        return c == '\'' ? HexFirst : Text;
    case WordLetters:
        if (isAsciiLetter(c)) {
            return WordLetters;
        }
        if (c == '-' || isAsciiDigit(c)) {
            return WordNumber;
        }
        break;
    case WordNumber:
        if (isAsciiDigit(c)) {
            return WordNumber;
        }
        break;
    case HexFirst:
        return HexSecond;
    case HexSecond:
        return Text;
    case Text:
        break;
    }
    // A delimiting space ends with the control word; anything else is read afresh.
    if (state != Text && c == ' ') {
        return Text;
    }
    return c == '\\' ? Backslash : Text;
}

/// The bytes a placeholder, control word or hex escape may hold; looked up, not tested class
/// by class, since a stretch of placeholders or picture data is walked through byte by byte.
inline constexpr auto kSyntaxBytes = [] {
    std::array<bool, 256> syntax{};
    for (int c = 0; c < 256; ++c) {
        const auto byte = static_cast<char>(c);
        syntax[static_cast<std::size_t>(c)] = isAsciiLetter(byte) || isAsciiDigit(byte) ||
                                              byte == '_' || byte == '[' || byte == ']' ||
                                              byte == '-' || byte == '\\' || byte == '\'';
    }
    return syntax;
}();

/// True when @p text may be cut just before @p pos (0 < pos <= size): the byte before the cut
/// belongs to no placeholder ("[NAMA]"), control word ("\fs24", "\li-5") or hex escape ("\'e9").
/// Filling the two sides apart then gives what filling them together gives: no placeholder,
/// none formed by the chain of replacements, and no RTF syntax left open before an inserted
/// value, reaches across such a cut.
constexpr bool isCutPoint(std::string_view text, std::size_t pos) {
    // Any byte can be the first digit of a hex escape, so the one after "'" never ends a piece.
    return !kSyntaxBytes[static_cast<unsigned char>(text[pos - 1])] &&
           (pos < 2 || text[pos - 2] != '\'');
}

} // namespace resipa

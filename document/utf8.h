#pragma once

/// @file
/// Decoding and encoding UTF-8, one code point at a time.

#include <cstddef>
#include <string>
#include <string_view>

namespace resipa {

/// One step through UTF-8 text.
struct Utf8Step {
    char32_t codePoint; ///< the character, U+FFFD for an ill-formed sequence
    std::size_t length; ///< bytes consumed, at least 1
    bool valid;         ///< false for an ill-formed sequence
};

/// Decodes the character at @p pos (which must lie inside @p text). An ill-formed sequence
/// consumes its maximal valid prefix (at least one byte) and yields U+FFFD, as the Unicode
/// standard recommends, so every byte is consumed exactly once.
Utf8Step decodeUtf8(std::string_view text, std::size_t pos);

/// True when @p text is well-formed UTF-8 (no overlongs, surrogates or values past U+10FFFF).
bool isValidUtf8(std::string_view text);

/// Appends @p codePoint as UTF-8 (a surrogate or a value past U+10FFFF as U+FFFD).
void appendUtf8(std::string& out, char32_t codePoint);

} // namespace resipa

#pragma once

/// @file
/// Text between the program's UTF-8 and the UTF-16 of the Windows wide-character API.

#include <optional>
#include <string>
#include <string_view>

namespace resipa {

/// The UTF-8 of UTF-16 text; none when the text is not valid UTF-16 (a lone surrogate).
std::optional<std::string> toUtf8(std::wstring_view text);

/// The UTF-16 of UTF-8 text, for the Windows API; bytes that are no UTF-8 become U+FFFD.
std::wstring toUtf16(std::string_view text);

} // namespace resipa

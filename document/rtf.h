#pragma once

/// @file
/// Typed text made safe to stand in an RTF document.

#include <string>
#include <string_view>

namespace resipa {

/// A value made safe for an RTF document: "\", "{" and "}" escaped, every non-ASCII character
/// as an RTF Unicode escape in a group of its own ("{\uc1\u233 ?}", whatever the template's code
/// page or \uc), a line break (LF, CR LF or CR) as "\line ", a tab as "\tab ", other control
/// characters dropped, ill-formed UTF-8 as U+FFFD. Square brackets stay, so placeholders chain.
std::string rtfSafe(std::string_view utf8);

} // namespace resipa

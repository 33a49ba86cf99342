#pragma once

/// @file
/// Which template bytes a placeholder or an RTF control word can be made of.

namespace resipa {

/// True for the bytes of a placeholder ("[NAMA]") or of an RTF control word ("\fs24", "\li-5").
/// A template line cut just after any other byte can be filled piece by piece with the same
/// result as whole: no placeholder, no value formed by the chain of replacements and no control
/// word before an inserted value reaches across such a cut.
constexpr bool isWordByte(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '[' || c == ']' || c == '-' || c == '\\';
}

} // namespace resipa

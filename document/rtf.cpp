#include "document/rtf.h"

#include "document/utf8.h"

namespace resipa {

namespace {

// One UTF-16 unit as RTF wants it: a signed 16-bit decimal, then the one fallback character
// that Unicode-aware readers skip (the enclosing group sets that skip count to 1).
void appendUnicodeUnit(std::string& out, char32_t unit) {
    out += "\\u";
    out +=
        std::to_string(unit > 0x7FFF ? static_cast<int>(unit) - 0x10000 : static_cast<int>(unit));
    out += " ?";
}

void appendUnicodeEscape(std::string& out, char32_t codePoint) {
    // A group of its own, so the \uc1 cannot leak into the template whatever \uc it uses.
    out += "{\\uc1";
    if (codePoint >= 0x10000) {
        const char32_t offset = codePoint - 0x10000;
        appendUnicodeUnit(out, 0xD800 + (offset >> 10));
        appendUnicodeUnit(out, 0xDC00 + (offset & 0x3FF));
    } else {
        appendUnicodeUnit(out, codePoint);
    }
    out += '}';
}

} // namespace

std::string rtfSafe(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const char c = utf8[pos];
        switch (c) {
        case '\\':
        case '{':
        case '}':
            out += '\\';
            out += c;
            ++pos;
            continue;
        case '\r':
            // CR LF is one break, like a lone CR or a lone LF.
            pos += pos + 1 < utf8.size() && utf8[pos + 1] == '\n' ? 2 : 1;
            out += "\\line ";
            continue;
        case '\n':
            out += "\\line ";
            ++pos;
            continue;
        case '\t':
            out += "\\tab ";
            ++pos;
            continue;
        default:
            break;
        }
        const Utf8Step step = decodeUtf8(utf8, pos);
        pos += step.length;
        const char32_t codePoint = step.codePoint;
        if (codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F)) {
            continue; // the remaining control characters have no place in a document's text
        }
        if (codePoint < 0x80) {
            out += static_cast<char>(codePoint);
        } else {
            appendUnicodeEscape(out, codePoint);
        }
    }
    return out;
}

} // namespace resipa

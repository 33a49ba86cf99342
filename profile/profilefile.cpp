#include "profile/profilefile.h"

#include "document/utf8.h"
#include "konversi/ascii.h"

#include <utility>

namespace resipa {

namespace {

bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}
bool isSeparator(char c) {
    return c == ',' || isLineEnd(c);
}

std::size_t findSeparator(std::string_view text, std::size_t pos) {
    while (pos < text.size() && !isSeparator(text[pos])) {
        ++pos;
    }
    return pos;
}

// Windows-1252's 0x80 to 0x9F; the five bytes it leaves undefined keep their C1 code points,
// so every byte decodes to something.
constexpr char16_t windows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Windows Notepad's "Unicode" and "Unicode big endian": UTF-16 told by its byte order mark.
// A lone surrogate becomes U+FFFD, and a last odd byte (a cut file) is dropped.
std::optional<std::string> decodeUtf16(std::string_view bytes) {
    const bool littleEndian = bytes.starts_with("\xFF\xFE");
    if (!littleEndian && !bytes.starts_with("\xFE\xFF")) {
        return std::nullopt;
    }
    const auto unitAt = [&](std::size_t pos) -> char32_t {
        const auto first = static_cast<unsigned char>(bytes[pos]);
        const auto second = static_cast<unsigned char>(bytes[pos + 1]);
        return littleEndian ? first | second << 8 : first << 8 | second;
    };
    const auto isHigh = [](char32_t unit) { return unit >= 0xD800 && unit < 0xDC00; };
    const auto isLow = [](char32_t unit) { return unit >= 0xDC00 && unit < 0xE000; };
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t pos = 2; pos + 1 < bytes.size(); pos += 2) {
        char32_t unit = unitAt(pos);
        if (isHigh(unit) && pos + 3 < bytes.size() && isLow(unitAt(pos + 2))) {
            unit = 0x10000 + ((unit - 0xD800) << 10) + (unitAt(pos + 2) - 0xDC00);
            pos += 2;
        }
        appendUtf8(text, unit);
    }
    return text;
}

} // namespace

ProfileItemReader::ProfileItemReader(std::string_view text)
    : m_text(text) {}

std::optional<std::string> ProfileItemReader::next() {
    const std::string_view text = m_text;
    std::size_t pos = m_pos;
    // A comma promises an item after it, even at the very end; a final line end does not.
    if (pos >= text.size() && !m_afterComma) {
        return std::nullopt;
    }
    while (pos < text.size() && isBlank(text[pos])) {
        ++pos;
    }

    std::string item;
    if (pos < text.size() && text[pos] == '"') {
        // Quoted: up to the closing quote, line ends included; an unclosed quote runs to the
        // end. Whatever stands between the closing quote and the separator is dropped.
        const std::size_t close = text.find('"', pos + 1);
        const std::size_t end = close == std::string_view::npos ? text.size() : close;
        item.assign(text.substr(pos + 1, end - pos - 1));
        pos = findSeparator(text, end == text.size() ? end : end + 1);
    } else {
        const std::size_t end = findSeparator(text, pos);
        std::size_t last = end;
        while (last > pos && isBlank(text[last - 1])) {
            --last;
        }
        item.assign(text.substr(pos, last - pos));
        pos = end;
    }

    m_afterComma = false;
    if (pos < text.size()) {
        if (text[pos] == ',') {
            m_afterComma = true;
        } else if (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') {
            ++pos;
        }
        ++pos;
    }
    m_pos = pos;
    return item;
}

ProfilPerusahaan readProfile(std::string_view text) {
    ProfilPerusahaan values;
    ProfileItemReader reader(text);
    for (std::string& value : values) {
        if (!reader.next()) {
            break; // fewer than sixteen items: the values not held stay empty
        }
        std::optional<std::string> item = reader.next();
        if (!item) {
            break;
        }
        value = std::move(*item);
    }
    return values;
}

std::string decodeProfileBytes(std::string_view bytes) {
    if (std::optional<std::string> text = decodeUtf16(bytes)) {
        return std::move(*text);
    }
    if (isValidUtf8(bytes)) {
        constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
        if (bytes.substr(0, byteOrderMark.size()) == byteOrderMark) {
            bytes.remove_prefix(byteOrderMark.size());
        }
        return std::string(bytes);
    }
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            text += c;
        } else if (byte < 0xA0) {
            appendUtf8(text, windows1252High[byte - 0x80]);
        } else {
            appendUtf8(text, byte);
        }
    }
    return text;
}

} // namespace resipa

#include "document/utf8.h"

namespace resipa {

namespace {

constexpr char32_t replacementCharacter = 0xFFFD;

unsigned char byteAt(std::string_view text, std::size_t pos) {
    return static_cast<unsigned char>(text[pos]);
}

} // namespace

Utf8Step decodeUtf8(std::string_view text, std::size_t pos) {
    const unsigned char lead = byteAt(text, pos);
    if (lead < 0x80) {
        return {lead, 1, true};
    }

    // The well-formed byte sequences: the lead byte fixes the length and the range of the
    // second byte, which is what rules out overlongs, surrogates and values past U+10FFFF.
    std::size_t length = 0;
    unsigned char secondLow = 0x80;
    unsigned char secondHigh = 0xBF;
    char32_t codePoint = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0Fu;
        if (lead == 0xE0) {
            secondLow = 0xA0;
        } else if (lead == 0xED) {
            secondHigh = 0x9F;
        }
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07u;
        if (lead == 0xF0) {
            secondLow = 0x90;
        } else if (lead == 0xF4) {
            secondHigh = 0x8F;
        }
    } else {
        return {replacementCharacter, 1, false};
    }

    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char low = i == 1 ? secondLow : 0x80;
        const unsigned char high = i == 1 ? secondHigh : 0xBF;
        if (pos + i >= text.size() || byteAt(text, pos + i) < low || byteAt(text, pos + i) > high) {
            return {replacementCharacter, i, false};
        }
        codePoint = (codePoint << 6) | (byteAt(text, pos + i) & 0x3Fu);
    }
    return {codePoint, length, true};
}

bool isValidUtf8(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (byteAt(text, pos) < 0x80) {
            ++pos;
            continue;
        }
        const Utf8Step step = decodeUtf8(text, pos);
        if (!step.valid) {
            return false;
        }
        pos += step.length;
    }
    return true;
}

void appendUtf8(std::string& out, char32_t codePoint) {
    if ((codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF) {
        codePoint = replacementCharacter;
    }
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

} // namespace resipa

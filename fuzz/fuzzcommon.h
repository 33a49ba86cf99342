#pragma once

// Small helpers shared by the fuzz targets.

#include "konversi/amount.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace resipa::fuzz {

// A property that does not hold is a finding: report it and stop so libFuzzer saves the input.
inline void check(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "property violated: %s\n", what);
        std::abort();
    }
}

// The regional settings a fuzz input picks: both everyday conventions and two multi-byte
// grouping separators.
inline NumberFormat numberFormat(unsigned char choice) {
    switch (choice % 4) {
    case 0:
        return {",", "."};
    case 1:
        return {".", ","};
    case 2:
        return {"\u00a0", ","};
    default:
        return {"\u202f", "."};
    }
}

inline bool isValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        char32_t code = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
        } else {
            return false;
        }
        if (i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
        if (overlong || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

} // namespace resipa::fuzz

#include "form/mdlGlobal.h"

#include <algorithm>
#include <string>

namespace resipa {

std::size_t characterCount(std::string_view text) {
    // Every character has exactly one byte that does not continue another.
    return static_cast<std::size_t>(
        std::ranges::count_if(text, [](char byte) { return (byte & 0xC0) != 0x80; }));
}

void PilihSemua(TextField& field) {
    field.setSelection(0, characterCount(field.text()));
}

void TengahLayar(FormWindow& window) {
    const ScreenArea screen = window.screenArea();
    const ScreenArea outer = window.outerArea();
    const auto screenWidth = static_cast<float>(screen.width);
    const auto width = static_cast<float>(outer.width);
    const auto screenHeight = static_cast<float>(screen.height);
    const auto height = static_cast<float>(outer.height);
    // True halves; the window system places the window on whole units.
    const float left = (screenWidth - width) / 2;
    const float top = (screenHeight - height) / 2;
    window.moveTo(static_cast<float>(screen.left) + left, static_cast<float>(screen.top) + top);
}

void FormatJumlah(TextField& field, const NumberFormat& format) {
    field.setText(regroup(field.text(), format));
    field.setSelection(characterCount(field.text()), 0);
}

} // namespace resipa

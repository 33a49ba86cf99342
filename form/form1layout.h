#pragma once

// The window's layout as data: one record per control, in creation order. Every window system
// creates its controls from these records.

#include <span>

namespace resipa {

enum class ControlKind { Label, TextField, Button, DatePicker, Line, Shape };

struct FontRecord {
    const char* face = nullptr; ///< null: the window's default font
    double pointSize = 0;
    bool bold = false;
};

enum ControlFlag : unsigned {
    MultiLine = 1u << 0,
    RightAligned = 1u << 1,
    ReadOnly = 1u << 2,
    AutoSize = 1u << 3,
};

constexpr int kNoColour = -1;

/// Positions and sizes in twips from the client area's top-left corner.
struct ControlRecord {
    ControlKind kind;
    const char* name;
    const char* caption; ///< labels and buttons: the caption; text fields: the initial text
    int left;            ///< lines: X1
    int top;             ///< lines: Y1
    int width;           ///< lines: X2
    int height;          ///< lines: Y2
    int tabIndex;        ///< -1 for lines and the shape
    FontRecord font;
    int colour = kNoColour; ///< 0xRRGGBB: text colour, or line and border colour
    int lineWidth = 1;
    unsigned flags = 0;
};

constexpr int kClientWidthTwips = 12585;
constexpr int kClientHeightTwips = 6540;

/// The 38 controls of Form1, in creation order.
std::span<const ControlRecord> form1Layout();

/// Pixels at 96 dots per inch, where 15 twips make a pixel.
constexpr int twipsToPixels(int twips) {
    return twips >= 0 ? (twips * 2 + 15) / 30 : -((-twips * 2 + 15) / 30);
}

/// True for the kinds that take the keyboard focus.
constexpr bool takesFocus(ControlKind kind) {
    return kind == ControlKind::TextField || kind == ControlKind::Button ||
           kind == ControlKind::DatePicker;
}

} // namespace resipa

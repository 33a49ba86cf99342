#pragma once

// The receipt window as its behaviour sees it: a few kinds of control and the window around
// them. Each window system implements these once over its own controls.

#include "form/form1layout.h"
#include "platform/platform.h"

#include <cstddef>
#include <functional>
#include <span>
#include <string>

namespace resipa {

/// A control that takes the keyboard focus.
class Control {
public:
    virtual ~Control() = default;
    /// Moves the focus here, as Tab would; the control's got-focus handling runs.
    virtual void setFocus() = 0;
};

/// A text field, single- or multi-line. Its text is UTF-8; a line break is "\n".
class TextField : public Control {
public:
    virtual std::string text() const = 0;
    /// Replaces the text. A field with a change handler runs it before this returns, unless
    /// the text stays the same.
    virtual void setText(const std::string& text) = 0;
    /// Selects @p length characters from character @p start; length 0 puts the caret there.
    virtual void setSelection(std::size_t start, std::size_t length) = 0;
};

class DatePicker : public Control {
public:
    virtual Date date() const = 0;
    virtual void setDate(const Date& date) = 0;
};

/// What a control's events call. Key codes are 13 for Enter; a key-press handler cancels the
/// typed character by setting its code to 0.
struct ControlHandlers {
    std::function<void(int& KeyCode, int Shift)> keyDown = {};
    std::function<void(char32_t& KeyAscii)> keyPress = {};
    std::function<void()> gotFocus = {};
    std::function<void()> change = {};
    std::function<void()> click = {};
    /// Enter never reaches the control itself (a multi-line field would add a line break).
    bool swallowEnter = false;
    /// Enter or Space held down presses it once: the key's repeats are dropped.
    bool pressOnce = false;
};

/// An area of the screen, in the window system's units.
struct ScreenArea {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

/// The window around the controls: it creates each control from its record and turns the
/// control's events into calls of its handlers. Lines and the shape it draws from the records.
class FormWindow {
public:
    virtual ~FormWindow() = default;

    virtual TextField& createTextField(const ControlRecord& record, ControlHandlers handlers) = 0;
    virtual DatePicker& createDatePicker(const ControlRecord& record, ControlHandlers handlers) = 0;
    virtual Control& createButton(const ControlRecord& record, ControlHandlers handlers) = 0;
    virtual void createLabel(const ControlRecord& record) = 0;
    /// The Tab key visits @p controls in this order, from the last back to the first.
    virtual void setTabOrder(std::span<Control* const> controls) = 0;

    virtual void setCaption(const std::string& caption) = 0;
    /// The screen the window is on, and the window's outer area, frame and title bar included.
    virtual ScreenArea screenArea() const = 0;
    virtual ScreenArea outerArea() const = 0;
    /// Moves the window's outer top-left corner there, keeping its size.
    virtual void moveTo(float left, float top) = 0;
};

} // namespace resipa

#pragma once

// The layout records as Win32 controls, each a small class over its window handle, and those
// controls as the ones the window's behaviour talks to.

#include "form/controls.h"

#include <map>
#include <string>
#include <tuple>
#include <windows.h>

namespace resipa {

/// Pixels at @p dpi of a length in twips.
int twipsAt(int twips, UINT dpi);

/// The text of a window: a control's text or caption, a window's title.
std::wstring windowText(HWND window);

/// What the window around the controls does for them.
class ControlHost {
public:
    /// Moves the focus @p step stops along the tab order from @p from (Tab 1, Shift+Tab -1).
    virtual void tabFrom(HWND from, int step) = 0;
    /// Told of every focus a control receives: true when the focus arrives, false when the
    /// window only gives the control its own focus back (the window reactivated).
    virtual bool focusArrives(HWND control) = 0;

protected:
    ~ControlHost() = default;
};

/// The records' fonts at one density, each made once. The window's default face is MS Sans
/// Serif, in its TrueType form where Windows has it, so that it scales sharply.
class Fonts {
public:
    explicit Fonts(UINT dpi);
    ~Fonts();
    Fonts(const Fonts&) = delete;
    Fonts& operator=(const Fonts&) = delete;

    HFONT of(const FontRecord& font);

private:
    UINT m_dpi;
    std::map<std::tuple<std::string, double, bool>, HFONT> m_fonts;
};

/// One control of the window, made from its record; its keys, focus and mouse go to its
/// handlers as they expect them, through a subclass of its window.
class WinControl {
public:
    WinControl(const ControlRecord& record, ControlHandlers handlers, ControlHost& host,
               HWND parent, int id);
    virtual ~WinControl();
    WinControl(const WinControl&) = delete;
    WinControl& operator=(const WinControl&) = delete;

    HWND handle() const { return m_hwnd; }
    const ControlRecord& record() const { return m_record; }
    /// Puts the control at its record's rectangle at @p dpi, in its font; a label takes the size
    /// of its caption.
    void place(UINT dpi, Fonts& fonts);
    /// A notification the control sent its window (WM_COMMAND): a click, a change.
    virtual void notified(WORD code);

protected:
    void focus() const { SetFocus(m_hwnd); }

    const ControlRecord& m_record;
    ControlHandlers m_handlers;
    HWND m_hwnd;

private:
    static LRESULT CALLBACK subclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);
    LRESULT message(UINT message, WPARAM wParam, LPARAM lParam);
    /// The typed character @p unit (UTF-16) after the key-press handler: false when it is not to
    /// reach the control.
    bool typed(WPARAM& unit);

    ControlHost& m_host;
};

/// A text field over an EDIT control.
class EditControl final : public WinControl, public TextField {
public:
    EditControl(const ControlRecord& record, ControlHandlers handlers, ControlHost& host,
                HWND parent, int id);
    std::string text() const override;
    void setText(const std::string& text) override;
    void setSelection(std::size_t start, std::size_t length) override;
    void setFocus() override { focus(); }
    void notified(WORD code) override;

private:
    bool m_settingText = false;
};

/// A date picker over the common controls' SysDateTimePick32.
class DateControl final : public WinControl, public DatePicker {
public:
    DateControl(const ControlRecord& record, ControlHandlers handlers, ControlHost& host,
                HWND parent, int id);
    Date date() const override;
    void setDate(const Date& date) override;
    void setFocus() override { focus(); }
};

/// A push button, or a label (which never takes the focus).
class PlainControl final : public WinControl, public Control {
public:
    using WinControl::WinControl;
    void setFocus() override { focus(); }
};

} // namespace resipa

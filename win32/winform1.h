#pragma once

#include "form/controls.h"
#include "platform/platform.h"
#include "win32/wincontrols.h"

#include <filesystem>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>
#include <windows.h>

namespace resipa {

class Form1;

/// The receipt window on Windows: a window of class "Form1" with native controls made from the
/// layout records, whose events run the handlers of the window's behaviour, Form1. It scales
/// with the density of the screen it is on.
///
/// Each control's ID (GetDlgItem) is controlIdOf() its record's name.
class WinForm1 final : private FormWindow, private ControlHost {
public:
    /// @p executableDirectory holds the profile, the template and the output document.
    WinForm1(HINSTANCE instance, Platform platform,
             const std::filesystem::path& executableDirectory);
    ~WinForm1();
    WinForm1(const WinForm1&) = delete;
    WinForm1& operator=(const WinForm1&) = delete;

    HWND handle() const { return m_hwnd; }
    /// The ID of the control made from the record named @p name; 0 for none.
    static int controlIdOf(std::string_view name);

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT message(UINT message, WPARAM wParam, LPARAM lParam);
    void Form_Initialize(HINSTANCE instance);
    /// Sizes the window and places every control for the density @p dpi.
    void layOut(UINT dpi);
    void paint();
    HBRUSH colours(HDC dc, HWND control);
    template <typename Made>
    Made& created(const ControlRecord& record, ControlHandlers handlers);

    TextField& createTextField(const ControlRecord& record, ControlHandlers handlers) override;
    DatePicker& createDatePicker(const ControlRecord& record, ControlHandlers handlers) override;
    Control& createButton(const ControlRecord& record, ControlHandlers handlers) override;
    void createLabel(const ControlRecord& record) override;
    void setTabOrder(std::span<Control* const> controls) override;
    void setCaption(const std::string& caption) override;
    ScreenArea screenArea() const override;
    ScreenArea outerArea() const override;
    void moveTo(float left, float top) override;

    void tabFrom(HWND from, int step) override;
    bool focusArrives(HWND control) override;

    HWND m_hwnd = nullptr;
    UINT m_dpi = USER_DEFAULT_SCREEN_DPI;
    std::unique_ptr<Fonts> m_fonts;
    std::vector<std::unique_ptr<WinControl>> m_controls;
    std::unordered_map<HWND, WinControl*> m_byHandle;
    std::unordered_map<const Control*, HWND> m_handles;
    std::vector<HWND> m_tabOrder;
    /// The control that had the focus last, given it back when the window gets the focus.
    HWND m_focus = nullptr;
    bool m_givingFocusBack = false;
    std::unique_ptr<Form1> m_form;
};

} // namespace resipa

#include "win32/winform1.h"

#include "form/form1.h"
#include "win32/resources.h"
#include "win32/widetext.h"

#include <algorithm>
#include <cmath>
#include <commctrl.h>
#include <cstdlib>

namespace resipa {

namespace {

constexpr wchar_t kWindowClass[] = L"Form1";
// A fixed dialog frame with the close box only: it cannot be resized, minimised or maximised.
constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU;
constexpr int kFirstControlId = 100;

COLORREF colourOf(int rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

HICON iconOf(HINSTANCE instance, int sizeMetric) {
    const int size = GetSystemMetrics(sizeMetric);
    return static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(RESIPA_ICON), IMAGE_ICON, size, size, 0));
}

} // namespace

int WinForm1::controlIdOf(std::string_view name) {
    const std::span<const ControlRecord> layout = form1Layout();
    const auto found = std::ranges::find(layout, name, &ControlRecord::name);
    return found == layout.end() ? 0 : kFirstControlId + static_cast<int>(found - layout.begin());
}

WinForm1::WinForm1(HINSTANCE instance, Platform platform,
                   const std::filesystem::path& executableDirectory) {
    Form_Initialize(instance);
    CreateWindowExW(0, kWindowClass, L"", kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr,
                    nullptr, instance, this);
    if (!m_hwnd) {
        MessageBoxW(nullptr, L"Jendela Resipa Elektronik tidak dapat dibuat.", L"Unhandle Error",
                    MB_OK | MB_ICONINFORMATION);
        std::exit(EXIT_FAILURE);
    }
    // Made at the density of the screen the window opens on, and placed as they are made.
    layOut(GetDpiForWindow(m_hwnd));
    FormWindow& window = *this;
    m_form = std::make_unique<Form1>(window, platform, executableDirectory);
    m_form->Form_Load();
}

WinForm1::~WinForm1() {
    // No message reaches the behaviour once it is going.
    SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
    m_controls.clear();
    DestroyWindow(m_hwnd);
    m_form.reset();
}

void WinForm1::Form_Initialize(HINSTANCE instance) {
    // The date picker's class, before any control is made.
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX),
                                       ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&classes);
    WNDCLASSEXW windowClass{};
    if (GetClassInfoExW(instance, kWindowClass, &windowClass))
        return;
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = iconOf(instance, SM_CXICON);
    windowClass.hIconSm = iconOf(instance, SM_CXSMICON);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);
}

void WinForm1::layOut(UINT dpi) {
    m_dpi = dpi;
    const SIZE client{twipsAt(kClientWidthTwips, dpi), twipsAt(kClientHeightTwips, dpi)};
    RECT outer{0, 0, client.cx, client.cy};
    AdjustWindowRectExForDpi(&outer, kStyle, FALSE, 0, dpi);
    const auto resize = [this](const RECT& outer) {
        SetWindowPos(m_hwnd, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    };
    resize(outer);
    // The frame drawn may differ from the one foreseen (a long title wrapping, a window system's
    // frame of its own): the client area is what counts.
    if (RECT shown{};
        GetClientRect(m_hwnd, &shown) && (shown.right != client.cx || shown.bottom != client.cy)) {
        outer.right += client.cx - shown.right;
        outer.bottom += client.cy - shown.bottom;
        resize(outer);
    }
    // The old fonts stay until no control uses them.
    auto fonts = std::make_unique<Fonts>(dpi);
    for (const auto& control : m_controls)
        control->place(dpi, *fonts);
    m_fonts = std::move(fonts);
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

LRESULT CALLBACK WinForm1::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<WinForm1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->m_hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<WinForm1*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self ? self->message(message, wParam, lParam)
                : DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT WinForm1::message(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (const auto control = m_byHandle.find(reinterpret_cast<HWND>(lParam));
            control != m_byHandle.end())
            control->second->notified(HIWORD(wParam));
        return 0;
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(
            colours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_PAINT:
        paint();
        return 0;
    case WM_SETFOCUS:
        // Activated again, or back from a message box: the control that had the focus gets it
        // back, which is no arrival.
        if (m_focus) {
            m_givingFocusBack = true;
            SetFocus(m_focus);
            m_givingFocusBack = false;
        }
        return 0;
    case WM_DPICHANGED: {
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(m_hwnd, nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        layOut(HIWORD(wParam));
        return 0;
    }
    case WM_CLOSE:
        // The program ends, as by "Keluar", and the window with it.
        m_form->Form_Unload();
        return 0;
    default:
        return DefWindowProcW(m_hwnd, message, wParam, lParam);
    }
}

void WinForm1::paint() {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(m_hwnd, &paint);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    const auto at = [this](int twips) { return twipsAt(twips, m_dpi); };
    for (const ControlRecord& record : form1Layout()) {
        if (record.kind != ControlKind::Line && record.kind != ControlKind::Shape)
            continue;
        const LOGBRUSH colour{BS_SOLID, colourOf(record.colour), 0};
        const HPEN pen = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER,
                                      static_cast<DWORD>(std::max(1, at(record.lineWidth * 15))),
                                      &colour, 0, nullptr);
        const HGDIOBJ before = SelectObject(dc, pen);
        if (record.kind == ControlKind::Line) {
            MoveToEx(dc, at(record.left), at(record.top), nullptr);
            LineTo(dc, at(record.width), at(record.height));
        } else {
            Rectangle(dc, at(record.left), at(record.top), at(record.left) + at(record.width),
                      at(record.top) + at(record.height));
        }
        SelectObject(dc, before);
        DeleteObject(pen);
    }
    EndPaint(m_hwnd, &paint);
}

HBRUSH WinForm1::colours(HDC dc, HWND control) {
    const auto found = m_byHandle.find(control);
    if (found == m_byHandle.end())
        return reinterpret_cast<HBRUSH>(DefWindowProcW(m_hwnd, WM_CTLCOLORSTATIC,
                                                       reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(control)));
    const ControlRecord& record = found->second->record();
    SetTextColor(dc, record.colour == kNoColour ? GetSysColor(COLOR_WINDOWTEXT)
                                                : colourOf(record.colour));
    // The read-only words keep a field's white; a label stands on the window's face.
    const int background = record.kind == ControlKind::TextField ? COLOR_WINDOW : COLOR_BTNFACE;
    SetBkColor(dc, GetSysColor(background));
    return GetSysColorBrush(background);
}

template <typename Made>
Made& WinForm1::created(const ControlRecord& record, ControlHandlers handlers) {
    ControlHost& host = *this;
    auto control =
        std::make_unique<Made>(record, std::move(handlers), host, m_hwnd, controlIdOf(record.name));
    Made& made = *control;
    made.place(m_dpi, *m_fonts);
    m_byHandle.emplace(made.handle(), &made);
    m_handles.emplace(static_cast<Control*>(&made), made.handle());
    m_controls.push_back(std::move(control));
    return made;
}

TextField& WinForm1::createTextField(const ControlRecord& record, ControlHandlers handlers) {
    return created<EditControl>(record, std::move(handlers));
}

DatePicker& WinForm1::createDatePicker(const ControlRecord& record, ControlHandlers handlers) {
    return created<DateControl>(record, std::move(handlers));
}

Control& WinForm1::createButton(const ControlRecord& record, ControlHandlers handlers) {
    return created<PlainControl>(record, std::move(handlers));
}

void WinForm1::createLabel(const ControlRecord& record) {
    created<PlainControl>(record, {});
}

void WinForm1::setTabOrder(std::span<Control* const> controls) {
    m_tabOrder.clear();
    for (Control* control : controls)
        m_tabOrder.push_back(m_handles.at(control));
}

void WinForm1::setCaption(const std::string& caption) {
    SetWindowTextW(m_hwnd, toUtf16(caption).c_str());
}

ScreenArea WinForm1::screenArea() const {
    MONITORINFO screen{};
    screen.cbSize = sizeof screen;
    GetMonitorInfoW(MonitorFromWindow(m_hwnd, MONITOR_DEFAULTTONEAREST), &screen);
    const RECT& area = screen.rcMonitor;
    return {area.left, area.top, area.right - area.left, area.bottom - area.top};
}

ScreenArea WinForm1::outerArea() const {
    RECT area{};
    GetWindowRect(m_hwnd, &area);
    return {area.left, area.top, area.right - area.left, area.bottom - area.top};
}

void WinForm1::moveTo(float left, float top) {
    SetWindowPos(m_hwnd, nullptr, static_cast<int>(std::lround(left)),
                 static_cast<int>(std::lround(top)), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WinForm1::tabFrom(HWND from, int step) {
    const auto at = std::ranges::find(m_tabOrder, from);
    if (at == m_tabOrder.end())
        return;
    const auto count = static_cast<std::ptrdiff_t>(m_tabOrder.size());
    SetFocus(
        m_tabOrder[static_cast<std::size_t>(((at - m_tabOrder.begin()) + step + count) % count)]);
}

bool WinForm1::focusArrives(HWND control) {
    m_focus = control;
    return !m_givingFocusBack;
}

} // namespace resipa

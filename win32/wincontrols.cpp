#include "win32/wincontrols.h"

#include "win32/widetext.h"

#include <algorithm>
#include <cmath>
#include <commctrl.h>
#include <utility>

namespace resipa {

namespace {

struct WindowKind {
    const wchar_t* windowClass;
    DWORD style;
    DWORD exStyle;
};

WindowKind windowKindOf(const ControlRecord& record) {
    constexpr DWORD child = WS_CHILD | WS_VISIBLE;
    switch (record.kind) {
    case ControlKind::Label:
        // One line, exactly as written: no word wrap, no "&" taken for an access key.
        return {L"STATIC", child | SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0};
    case ControlKind::TextField: {
        // A single-line field scrolls sideways and a multi-line one down, so that neither stops
        // taking text at its edge. The selection shows only while the field has the focus.
        DWORD style = child | WS_TABSTOP;
        style |= record.flags & MultiLine ? ES_MULTILINE | ES_AUTOVSCROLL : ES_AUTOHSCROLL;
        style |= record.flags & RightAligned ? ES_RIGHT : ES_LEFT;
        style |= record.flags & ReadOnly ? ES_READONLY : 0;
        return {L"EDIT", style, WS_EX_CLIENTEDGE};
    }
    case ControlKind::Button:
        return {L"BUTTON", child | WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::DatePicker:
        return {DATETIMEPICK_CLASSW, child | WS_TABSTOP | DTS_SHORTDATEFORMAT, 0};
    case ControlKind::Line:
    case ControlKind::Shape:
        break;
    }
    return {};
}

bool held(int key) {
    return GetKeyState(key) < 0;
}

/// The modifier state: 1 Shift, 2 Ctrl, 4 Alt, added together.
int shiftState() {
    return (held(VK_SHIFT) ? 1 : 0) | (held(VK_CONTROL) ? 2 : 0) | (held(VK_MENU) ? 4 : 0);
}

/// Where the character @p characters on from @p from lies in an EDIT's text, which ends its
/// lines in "\r\n" where the window's behaviour sees "\n".
std::size_t utf16Offset(std::wstring_view text, std::size_t from, std::size_t characters) {
    std::size_t at = from;
    for (; at < text.size() && characters > 0; ++at, --characters) {
        const bool pair = at + 1 < text.size() &&
                          ((IS_HIGH_SURROGATE(text[at]) && IS_LOW_SURROGATE(text[at + 1])) ||
                           (text[at] == L'\r' && text[at + 1] == L'\n'));
        at += pair ? 1 : 0;
    }
    return at;
}

bool installed(const wchar_t* face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(wanted.lfFaceName, face, LF_FACESIZE - 1);
    bool found = false;
    const HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(
        screen, &wanted,
        [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
            *reinterpret_cast<bool*>(found) = true;
            return 0;
        },
        reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

} // namespace

int twipsAt(int twips, UINT dpi) {
    return MulDiv(twips, static_cast<int>(dpi), 1440);
}

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

Fonts::Fonts(UINT dpi)
    : m_dpi(dpi) {}

Fonts::~Fonts() {
    for (const auto& [key, font] : m_fonts)
        DeleteObject(font);
}

HFONT Fonts::of(const FontRecord& font) {
    // The bitmap MS Sans Serif would only grow by whole pixels; Microsoft Sans Serif is its
    // outline twin.
    static const char* const defaultFace =
        installed(L"Microsoft Sans Serif") ? "Microsoft Sans Serif" : "MS Sans Serif";
    const auto key = font.face ? std::tuple(std::string(font.face), font.pointSize, font.bold)
                               : std::tuple(std::string(defaultFace), 8.0, false);
    HFONT& made = m_fonts[key];
    if (!made) {
        LOGFONTW wanted{};
        wanted.lfHeight = -static_cast<LONG>(std::lround(std::get<1>(key) * m_dpi / 72));
        wanted.lfWeight = std::get<2>(key) ? FW_BOLD : FW_NORMAL;
        wanted.lfCharSet = DEFAULT_CHARSET;
        const std::wstring face = toUtf16(std::get<0>(key));
        face.copy(wanted.lfFaceName, LF_FACESIZE - 1);
        made = CreateFontIndirectW(&wanted);
    }
    return made;
}

WinControl::WinControl(const ControlRecord& record, ControlHandlers handlers, ControlHost& host,
                       HWND parent, int id)
    : m_record(record)
    , m_handlers(std::move(handlers))
    , m_host(host) {
    const WindowKind kind = windowKindOf(record);
    m_hwnd = CreateWindowExW(
        kind.exStyle, kind.windowClass, toUtf16(record.caption).c_str(), kind.style, 0, 0, 0, 0,
        parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
    if (takesFocus(record.kind))
        SetWindowSubclass(m_hwnd, subclassProc, 0, reinterpret_cast<DWORD_PTR>(this));
}

WinControl::~WinControl() {
    RemoveWindowSubclass(m_hwnd, subclassProc, 0);
}

void WinControl::place(UINT dpi, Fonts& fonts) {
    const HFONT font = fonts.of(m_record.font);
    SendMessageW(m_hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    SIZE size{twipsAt(m_record.width, dpi), twipsAt(m_record.height, dpi)};
    if (m_record.kind == ControlKind::Label && (m_record.flags & AutoSize)) {
        const std::wstring caption = windowText(m_hwnd);
        const HDC dc = GetDC(m_hwnd);
        const HGDIOBJ before = SelectObject(dc, font);
        GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
        SelectObject(dc, before);
        ReleaseDC(m_hwnd, dc);
    }
    if (SIZE ideal{}; m_record.kind == ControlKind::DatePicker &&
                      SendMessageW(m_hwnd, DTM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)))
        size.cx = std::max(size.cx, ideal.cx); // a wider face must still show the whole date
    SetWindowPos(m_hwnd, nullptr, twipsAt(m_record.left, dpi), twipsAt(m_record.top, dpi), size.cx,
                 size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void WinControl::notified(WORD code) {
    if (code == BN_CLICKED && m_handlers.click)
        m_handlers.click();
}

LRESULT CALLBACK WinControl::subclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR, DWORD_PTR self) {
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(hwnd, subclassProc, 0);
    return reinterpret_cast<WinControl*>(self)->message(message, wParam, lParam);
}

LRESULT WinControl::message(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN: {
        if (wParam == VK_TAB && !held(VK_CONTROL) && !held(VK_MENU)) {
            m_host.tabFrom(m_hwnd, held(VK_SHIFT) ? -1 : 1);
            return 0;
        }
        const bool enter = wParam == VK_RETURN;
        // A key held down comes again with its previous state down: one press, one click.
        const bool repeated = (HIWORD(lParam) & KF_REPEAT) != 0;
        if (m_handlers.pressOnce && repeated && (enter || wParam == VK_SPACE))
            return 0;
        if (m_handlers.keyDown) {
            int KeyCode = static_cast<int>(wParam);
            m_handlers.keyDown(KeyCode, shiftState());
        }
        // Select all, as in every other field of the desktop.
        if (wParam == 'A' && held(VK_CONTROL) && !held(VK_MENU) &&
            m_record.kind == ControlKind::TextField) {
            SendMessageW(m_hwnd, EM_SETSEL, 0, -1);
            return 0;
        }
        // Outside a dialog a button ignores Enter by itself.
        if (enter && m_record.kind == ControlKind::Button) {
            notified(BN_CLICKED);
            return 0;
        }
        if (enter && m_handlers.swallowEnter)
            return 0;
        break;
    }
    case WM_CHAR:
        if (!typed(wParam))
            return 0;
        break;
    case WM_SETFOCUS: {
        const LRESULT result = DefSubclassProc(m_hwnd, message, wParam, lParam);
        if (m_host.focusArrives(m_hwnd) && m_handlers.gotFocus)
            m_handlers.gotFocus();
        return result;
    }
    case WM_LBUTTONDOWN: {
        const bool arriving = GetFocus() != m_hwnd;
        const LRESULT result = DefSubclassProc(m_hwnd, message, wParam, lParam);
        // The click placed the caret after the focus arrived: what arriving selects, again.
        if (arriving && GetFocus() == m_hwnd && m_handlers.gotFocus)
            m_handlers.gotFocus();
        return result;
    }
    default:
        break;
    }
    return DefSubclassProc(m_hwnd, message, wParam, lParam);
}

bool WinControl::typed(WPARAM& unit) {
    // Tab, Enter, Escape and Ctrl+A have done their work as keys; as characters they would only
    // beep or break a line.
    if (unit == L'\t' || unit == L'\r' || unit == L'\n' || unit == 0x1B || unit == 0x01)
        return false;
    // Other control codes are the editing keys (Backspace, Ctrl+C, Ctrl+V) and no characters.
    if (!m_handlers.keyPress || unit < 0x20 || unit == 0x7F)
        return true;
    // A character beyond U+FFFF comes as two halves, neither a character a filter keeps.
    char32_t KeyAscii = static_cast<char32_t>(unit);
    m_handlers.keyPress(KeyAscii);
    if (KeyAscii == 0 || KeyAscii > 0xFFFF)
        return false;
    unit = KeyAscii;
    return true;
}

EditControl::EditControl(const ControlRecord& record, ControlHandlers handlers, ControlHost& host,
                         HWND parent, int id)
    : WinControl(record, std::move(handlers), host, parent, id) {
    // No limit: a long value, typed or pasted, is never cut (an EDIT stops at 32767 otherwise).
    SendMessageW(m_hwnd, EM_SETLIMITTEXT, 0, 0);
}

std::string EditControl::text() const {
    std::wstring text = windowText(m_hwnd);
    for (std::size_t at = 0; (at = text.find(L"\r\n", at)) != std::wstring::npos;)
        text.erase(at, 1);
    // Half a pair of surrogates, pasted, is no character of any receipt.
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (IS_HIGH_SURROGATE(text[at]) && at + 1 < text.size() && IS_LOW_SURROGATE(text[at + 1]))
            ++at;
        else if (IS_HIGH_SURROGATE(text[at]) || IS_LOW_SURROGATE(text[at]))
            text[at] = L'\uFFFD';
    }
    return toUtf8(text).value_or(std::string());
}

void EditControl::setText(const std::string& text) {
    std::wstring wide;
    for (const wchar_t c : toUtf16(text)) {
        // A multi-line EDIT breaks its lines at "\r\n" only.
        if (c == L'\n' && (m_record.flags & MultiLine) && (wide.empty() || wide.back() != L'\r'))
            wide += L'\r';
        wide += c;
    }
    if (wide == windowText(m_hwnd))
        return;
    // The change handling runs here, once, whether or not the EDIT tells of its new text.
    m_settingText = true;
    SetWindowTextW(m_hwnd, wide.c_str());
    m_settingText = false;
    if (m_handlers.change)
        m_handlers.change();
}

void EditControl::setSelection(std::size_t start, std::size_t length) {
    const std::wstring text = windowText(m_hwnd);
    const std::size_t from = utf16Offset(text, 0, start);
    SendMessageW(m_hwnd, EM_SETSEL, from, static_cast<LPARAM>(utf16Offset(text, from, length)));
    SendMessageW(m_hwnd, EM_SCROLLCARET, 0, 0);
}

void EditControl::notified(WORD code) {
    if (code == EN_CHANGE && !m_settingText && m_handlers.change)
        m_handlers.change();
}

DateControl::DateControl(const ControlRecord& record, ControlHandlers handlers, ControlHost& host,
                         HWND parent, int id)
    : WinControl(record, std::move(handlers), host, parent, id) {
    SendMessageW(m_hwnd, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"dd-MM-yyyy"));
    SYSTEMTIME range[2] = {};
    range[0].wYear = 1601;
    range[0].wMonth = range[0].wDay = 1;
    range[1].wYear = 9999;
    range[1].wMonth = 12;
    range[1].wDay = 31;
    SendMessageW(m_hwnd, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range));
}

Date DateControl::date() const {
    SYSTEMTIME shown{};
    SendMessageW(m_hwnd, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown));
    return {shown.wYear, shown.wMonth, shown.wDay};
}

void DateControl::setDate(const Date& date) {
    SYSTEMTIME day{};
    day.wYear = static_cast<WORD>(date.year);
    day.wMonth = static_cast<WORD>(date.month);
    day.wDay = static_cast<WORD>(date.day);
    SendMessageW(m_hwnd, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&day));
}

} // namespace resipa

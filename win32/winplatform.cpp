#include "win32/winplatform.h"

#include "win32/numberformat.h"
#include "win32/widetext.h"

#include <cwchar>
#include <iterator>
#include <shellapi.h>

namespace resipa {

namespace {

/// The program's window on this thread; null before it is created and after it is gone.
HWND formWindow() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM result) -> BOOL {
            wchar_t name[16] = {};
            if (GetClassNameW(window, name, std::size(name)) == 0 ||
                std::wcscmp(name, kFormWindowClass) != 0)
                return TRUE;
            *reinterpret_cast<HWND*>(result) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

/// Why the shell opened nothing. The code it leaves in hInstApp comes first: Wine reports a
/// type without an application as hInstApp 31 beside a last error that varies from run to run.
std::string shellFailure(INT_PTR code, DWORD error) {
    switch (code) {
    case SE_ERR_NOASSOC:
        return std::string(viewerCauseText(ViewerCause::NoApplication));
    case SE_ERR_FNF:
    case SE_ERR_PNF:
        return std::string(viewerCauseText(ViewerCause::NotFound));
    case SE_ERR_ACCESSDENIED:
        return std::string(causeText(FileCause::AccessDenied));
    case SE_ERR_SHARE:
        return std::string(causeText(FileCause::InUse));
    case 0:
    case SE_ERR_OOM:
        return std::string(causeText(FileCause::OutOfResources));
    case SE_ERR_ASSOCINCOMPLETE:
    case SE_ERR_DDETIMEOUT:
    case SE_ERR_DDEFAIL:
    case SE_ERR_DDEBUSY:
    case SE_ERR_DLLNOTFOUND:
        return std::string(viewerCauseText(ViewerCause::ViewerFailed));
    default:
        break;
    }
    if (error == ERROR_NO_ASSOCIATION)
        return std::string(viewerCauseText(ViewerCause::NoApplication));
    return "Windows menolak membukanya, kode " + std::to_string(error ? error : code);
}

} // namespace

std::filesystem::path programFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        // A path that fills the buffer may have been cut short.
        if (length < path.size()) {
            path.resize(length);
            return std::filesystem::path(path).parent_path();
        }
        path.resize(path.size() * 2);
    }
}

Date SystemClock::today() const {
    return now().date;
}

LocalTime SystemClock::now() const {
    SYSTEMTIME local{};
    GetLocalTime(&local);
    return {{local.wYear, local.wMonth, local.wDay},
            local.wHour,
            local.wMinute,
            local.wSecond,
            std::chrono::system_clock::now()};
}

NumberFormat UserNumberRules::numberFormat() const {
    return userNumberFormat();
}

Result<> WinShell::openDocument(const std::filesystem::path& path, LaterFailure) {
    const std::filesystem::path folder = programFolder();
    SHELLEXECUTEINFOW request{};
    request.cbSize = sizeof request;
    // A failure is told in the program's own box, never in one of the shell's.
    request.fMask = SEE_MASK_FLAG_NO_UI;
    request.hwnd = formWindow();
    request.lpVerb = L"open";
    request.lpFile = path.c_str();
    request.lpDirectory = folder.c_str();
    request.nShow = SW_SHOWNORMAL;
    const BOOL opened = ShellExecuteExW(&request);
    const DWORD error = opened ? ERROR_SUCCESS : GetLastError();
    const auto code = reinterpret_cast<INT_PTR>(request.hInstApp);
    if (opened && code > 32)
        return {};
    return Failure{shellFailure(code, error)};
}

std::string WinShell::viewerAdvice() const {
    return "Pasang penampil dokumen seperti LibreOffice Writer atau Microsoft Word (Windows 11 "
           "tidak lagi memuat WordPad), lalu tekan Preview lagi.";
}

void WinMessageBox::inform(const std::string& title, const std::string& text) {
    MessageBoxW(formWindow(), toUtf16(text).c_str(), toUtf16(title).c_str(),
                MB_OK | MB_ICONINFORMATION);
}

void WinEventLoop::runPendingEvents() {
    MSG message;
    while (!m_ended && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // It ends the program: back to the loop that runs it.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        dispatch(message);
    }
}

void WinEventLoop::endProgram() {
    if (!m_ended)
        PostQuitMessage(0);
    m_ended = true;
}

int WinEventLoop::run() {
    MSG message;
    while (!m_ended) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0)
            return static_cast<int>(message.wParam);
        if (got == -1)
            return 1;
        dispatch(message);
    }
    return 0;
}

void WinEventLoop::dispatch(MSG& message) {
    if (m_filter && m_filter(message))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

} // namespace resipa

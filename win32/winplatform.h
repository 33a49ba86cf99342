#pragma once

#include "platform/platform.h"
#include "win32/winfilesystem.h"

#include <filesystem>
#include <functional>
#include <string>
#include <windows.h>

// windows.h makes MessageBox a name of MessageBoxW; here it is the interface's own.
#undef MessageBox

namespace resipa {

/// The window class of the program's window, over which message boxes stand and on whose
/// behalf the shell opens documents.
inline constexpr const wchar_t* kFormWindowClass = L"Form1";

/// The folder that holds the program's executable, whatever folder it was started from.
std::filesystem::path programFolder();

/// The local date and time of day (GetLocalTime).
class SystemClock final : public Clock {
public:
    Date today() const override;
    LocalTime now() const override;
};

/// The separators of the user's regional settings, the user's own changes included.
class UserNumberRules final : public NumberRules {
public:
    NumberFormat numberFormat() const override;
};

/// The Windows shell's "open" of the document, with wide paths; its outcome is known when the
/// request returns.
class WinShell : public Shell {
public:
    Result<> openDocument(const std::filesystem::path& path, LaterFailure failed) override;
    std::string viewerAdvice() const override;
};

/// MessageBoxW over the program's window.
class WinMessageBox final : public MessageBox {
public:
    void inform(const std::string& title, const std::string& text) override;
};

/// This thread's message queue. Ending the program posts WM_QUIT, which also ends a modal
/// loop such as a message box's, and dispatches nothing more: neither a pause of a Preview nor
/// run() hands a message to a window again.
class WinEventLoop final : public EventLoop {
public:
    /// Takes a message before it is translated and dispatched (IsDialogMessageW, say): true
    /// when it was handled.
    using Filter = std::function<bool(MSG& message)>;

    void runPendingEvents() override;
    void endProgram() override;

    /// The program's message loop: returns the exit code once the program ends.
    int run();
    void setFilter(Filter filter) { m_filter = std::move(filter); }
    /// True once the program ends; a window procedure then hands nothing on.
    bool ended() const { return m_ended; }

private:
    void dispatch(MSG& message);

    Filter m_filter;
    bool m_ended = false;
};

/// The real desktop, owned in one place.
class WinPlatform {
public:
    Platform platform() {
        return {m_files, m_clock, m_numbers, m_shell, m_messageBox, m_eventLoop};
    }
    WinEventLoop& eventLoop() { return m_eventLoop; }

private:
    WinFileSystem m_files;
    SystemClock m_clock;
    UserNumberRules m_numbers;
    WinShell m_shell;
    WinMessageBox m_messageBox;
    WinEventLoop m_eventLoop;
};

} // namespace resipa

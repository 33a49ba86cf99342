#pragma once

#include "platform/platform.h"
#include "qt/qtfilesystem.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

#include <QDateTime>
#include <QString>
#include <QTimer>

namespace resipa {

// Between Qt's types and the plain ones the window's behaviour speaks.
Date dateOf(const QDate& date);
LocalTime localTimeOf(const QDateTime& moment);
/// A Failure that tells the operator @p text.
Failure failure(const QString& text);

class SystemClock final : public Clock {
public:
    Date today() const override;
    LocalTime now() const override;
};

/// The separators of the system locale (LANG, LC_ALL), read afresh on every call.
class SystemNumberRules final : public NumberRules {
public:
    NumberFormat numberFormat() const override;
};

/// What the operator installs on Debian when no viewer opens the receipt.
inline constexpr std::string_view kViewerAdvice =
    "Pasang penampil dokumen seperti LibreOffice Writer (paket libreoffice-writer dan xdg-utils), "
    "lalu tekan Preview lagi.";

/// The desktop's opener, xdg-open, found in the absolute folders of PATH only and started on
/// the document as a child process of its own session; its exit is watched from the event
/// loop (SIGCHLD, if inherited ignored, is set back to its default so that the exit status can
/// be collected). Openers still running when the program ends are left alone, so a viewer they
/// keep open outlives the program.
class DesktopShell final : public Shell {
public:
    DesktopShell();
    Result<> openDocument(const std::filesystem::path& path, LaterFailure failed) override;
    std::string viewerAdvice() const override;

private:
    struct Opener {
        pid_t pid;
        LaterFailure failed;
    };
    void reapOpeners();

    std::vector<Opener> m_running;
    QTimer m_watch;
};

/// A modal box over the program's window.
class ModalMessageBox final : public MessageBox {
public:
    void inform(const std::string& title, const std::string& text) override;
};

/// Qt's event loop; ending the program leaves every running loop, so that main() returns.
class QtEventLoop final : public EventLoop {
public:
    void runPendingEvents() override;
    void endProgram() override;
};

/// The real desktop, owned in one place.
class QtPlatform {
public:
    Platform platform() {
        return {m_files, m_clock, m_numbers, m_shell, m_messageBox, m_eventLoop};
    }

private:
    QtFileSystem m_files;
    SystemClock m_clock;
    SystemNumberRules m_numbers;
    DesktopShell m_shell;
    ModalMessageBox m_messageBox;
    QtEventLoop m_eventLoop;
};

} // namespace resipa

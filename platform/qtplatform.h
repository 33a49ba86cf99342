#pragma once

#include "platform/platform.h"
#include "platform/qtfilesystem.h"

#include <sys/types.h>
#include <vector>

#include <QTimer>

namespace resipa {

class SystemClock final : public Clock {
public:
    QDate today() const override;
    QDateTime now() const override;
};

/// The separators of the system locale (LANG, LC_ALL), read afresh on every call.
class SystemNumberRules final : public NumberRules {
public:
    NumberFormat numberFormat() const override;
};

/// The desktop's opener, xdg-open, found in the absolute folders of PATH only and started on
/// the document as a child process of its own session; its exit is watched from the event
/// loop (SIGCHLD, if inherited ignored, is set back to its default so that the exit status can
/// be collected). Openers still running when the program ends are left alone, so a viewer they
/// keep open outlives the program.
class DesktopShell final : public Shell {
public:
    DesktopShell();
    Result<> openDocument(const QString& path, LaterFailure failed) override;

private:
    struct Opener {
        pid_t pid;
        LaterFailure failed;
    };
    void reapOpeners();

    std::vector<Opener> m_running;
    QTimer m_watch;
};

class ModalMessageBox final : public MessageBox {
public:
    void inform(QWidget* owner, const QString& title, const QString& text) override;
};

/// Leaves every running event loop, so that the program's main() returns.
class EventLoopExit final : public ProgramEnd {
public:
    void endProgram() override;
};

/// The real desktop, owned in one place.
class QtPlatform {
public:
    Platform platform() {
        return {m_files, m_clock, m_numbers, m_shell, m_messageBox, m_programEnd};
    }

private:
    QtFileSystem m_files;
    SystemClock m_clock;
    SystemNumberRules m_numbers;
    DesktopShell m_shell;
    ModalMessageBox m_messageBox;
    EventLoopExit m_programEnd;
};

} // namespace resipa

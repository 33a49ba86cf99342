#pragma once

#include "platform/platform.h"
#include "platform/qtfilesystem.h"

namespace resipa {

class SystemClock final : public Clock {
public:
    QDate today() const override;
};

/// The separators of the system locale (LANG, LC_ALL), read afresh on every call.
class SystemNumberRules final : public NumberRules {
public:
    NumberFormat numberFormat() const override;
};

/// QDesktopServices: the desktop's handler for the document type (xdg-open on X11).
class DesktopShell final : public Shell {
public:
    bool openDocument(const QString& path) override;
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

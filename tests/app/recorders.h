#pragma once

// Stand-ins for the desktop: they record what the window asks of it, and let a test run code
// at the moment the window hands over control (a message box shown, the shell asked).

#include "platform/platform.h"
#include "platform/qtfilesystem.h"

#include <cstddef>
#include <functional>
#include <optional>

#include <QList>
#include <QString>

namespace resipa::testing {

class RecordingClock final : public Clock {
public:
    QDate day{2025, 5, 9};
    QDate today() const override { return day; }
};

class FixedNumberRules final : public NumberRules {
public:
    NumberFormat format{",", "."};
    NumberFormat numberFormat() const override { return format; }
};

class RecordingShell final : public Shell {
public:
    QList<QString> opened;
    bool succeeds = true;
    bool openDocument(const QString& path) override;
};

class RecordingMessageBox final : public MessageBox {
public:
    struct Shown {
        QString title;
        QString text;
    };
    QList<Shown> shown;
    /// Runs while the box would be up, as a modal box's own event loop would let it.
    std::function<void()> whileShown;
    void inform(QWidget* owner, const QString& title, const QString& text) override;
};

class RecordingProgramEnd final : public ProgramEnd {
public:
    int requests = 0;
    void endProgram() override { ++requests; }
};

/// Real files, except that writing fails as on a full disk once the byte budget is spent.
class FullDiskFileSystem final : public FileSystem {
public:
    std::optional<std::size_t> writeBudget;
    bool isFile(const QString& path) const override { return m_real.isFile(path); }
    Opened<InputFile> openForReading(const QString& path) override {
        return m_real.openForReading(path);
    }
    Opened<OutputFile> openForWriting(const QString& path) override;

private:
    QtFileSystem m_real;
};

struct RecordingPlatform {
    FullDiskFileSystem files;
    RecordingClock clock;
    FixedNumberRules numbers;
    RecordingShell shell;
    RecordingMessageBox messageBox;
    RecordingProgramEnd programEnd;

    Platform platform() { return {files, clock, numbers, shell, messageBox, programEnd}; }
};

} // namespace resipa::testing

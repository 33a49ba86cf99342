#pragma once

// The receipt window on the benchmarks' desk: real files, a fixed date and comma grouping, and
// a shell and message box that only count what they are asked.

#include "platform/platform.h"
#include "platform/qtfilesystem.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace resipa {
class Form1;
}

namespace resipa::bench {

class BenchDesktop {
public:
    Platform platform() { return {m_files, m_clock, m_numbers, m_shell, m_messageBox, m_end}; }

    /// Documents the window asked the shell to open.
    int documentsOpened() const { return m_shell.opened; }
    /// Failure texts the window showed in its message box.
    const QStringList& failures() const { return m_messageBox.texts; }

private:
    class SampleDayClock final : public Clock {
    public:
        QDate today() const override;
        QDateTime now() const override;
    };
    class CommaGrouping final : public NumberRules {
    public:
        NumberFormat numberFormat() const override;
    };
    class CountingShell final : public Shell {
    public:
        int opened = 0;
        QString openDocument(const QString&, LaterFailure) override {
            ++opened;
            return {};
        }
    };
    class RecordingMessageBox final : public MessageBox {
    public:
        QStringList texts;
        void inform(QWidget*, const QString&, const QString& text) override { texts << text; }
    };
    class IgnoredEnd final : public ProgramEnd {
    public:
        void endProgram() override {}
    };

    QtFileSystem m_files;
    SampleDayClock m_clock;
    CommaGrouping m_numbers;
    CountingShell m_shell;
    RecordingMessageBox m_messageBox;
    IgnoredEnd m_end;
};

/// Writes the sample company profile into @p directory unless a profile is there already.
bool provideSampleProfile(const QString& directory);

/// Types the sample receipt's own fields (number, recipient, amount, description) into the
/// window; the date and the company come from the desk's clock and the profile.
void typeSampleReceipt(Form1& form);

/// Shows @p window and waits until the window system has exposed it. False on time-out.
bool showUntilExposed(QWidget& window);

} // namespace resipa::bench

#pragma once

// What the receipt window needs of the desktop, each behind a small interface so that tests
// can stand in for the clock, the locale, the shell, the message box and the program's end.

#include "konversi/amount.h"
#include "platform/filesystem.h"

#include <functional>

#include <QDate>
#include <QDateTime>
#include <QString>

class QWidget;

namespace resipa {

class Clock {
public:
    virtual ~Clock() = default;
    /// Today's date, without time of day.
    virtual QDate today() const = 0;
    /// The local date and time of day, to the second.
    virtual QDateTime now() const = 0;
};

class NumberRules {
public:
    virtual ~NumberRules() = default;
    /// The grouping and decimal separators in force now.
    virtual NumberFormat numberFormat() const = 0;
};

class Shell {
public:
    /// Told the cause when the desktop's opener ended without opening the document.
    using LaterFailure = std::function<void(const Failure& cause)>;

    virtual ~Shell() = default;
    /// Asks the desktop to open the document with its viewer and returns without waiting:
    /// success once the opener runs, otherwise the cause. An opener that fails later calls
    /// @p failed from the event loop; one that keeps running counts as success.
    virtual Result<> openDocument(const QString& path, LaterFailure failed) = 0;
};

class MessageBox {
public:
    virtual ~MessageBox() = default;
    /// Shows @p text under @p title with the information icon and one OK button, and returns
    /// once it is dismissed.
    virtual void inform(QWidget* owner, const QString& title, const QString& text) = 0;
};

class ProgramEnd {
public:
    virtual ~ProgramEnd() = default;
    /// Ends the program at once: no further handler of the window runs.
    virtual void endProgram() = 0;
};

/// Everything the window reaches outside itself.
struct Platform {
    FileSystem& files;
    Clock& clock;
    NumberRules& numbers;
    Shell& shell;
    MessageBox& messageBox;
    ProgramEnd& programEnd;
};

} // namespace resipa

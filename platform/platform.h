#pragma once

// What the receipt window needs of the desktop, each behind a small interface that every window
// system implements once and tests stand in for: the clock, the locale's number rules, the
// shell, the message box, the event loop and the files.

#include "konversi/amount.h"
#include "platform/filesystem.h"

#include <chrono>
#include <compare>
#include <functional>
#include <string>

namespace resipa {

/// A calendar date.
struct Date {
    int year = 0;
    int month = 0; ///< 1 to 12
    int day = 0;   ///< 1 to 31
    friend auto operator<=>(const Date&, const Date&) = default;
};

/// A moment as the clock on the wall shows it, and as a point in time.
struct LocalTime {
    Date date;
    int hour = 0;
    int minute = 0;
    int second = 0;
    std::chrono::system_clock::time_point instant;
};

class Clock {
public:
    virtual ~Clock() = default;
    /// Today's date.
    virtual Date today() const = 0;
    /// The local date and time of day, to the second.
    virtual LocalTime now() const = 0;
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
    virtual Result<> openDocument(const std::filesystem::path& path, LaterFailure failed) = 0;
    /// What the operator can do when no viewer opened the document, in this system's terms:
    /// the sentence the box ends with.
    virtual std::string viewerAdvice() const = 0;
};

class MessageBox {
public:
    virtual ~MessageBox() = default;
    /// Shows @p text under @p title with the information icon and one OK button over the
    /// program's window, and returns once it is dismissed.
    virtual void inform(const std::string& title, const std::string& text) = 0;
};

class EventLoop {
public:
    virtual ~EventLoop() = default;
    /// Lets every pending window event run, then returns.
    virtual void runPendingEvents() = 0;
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
    EventLoop& eventLoop;
};

} // namespace resipa

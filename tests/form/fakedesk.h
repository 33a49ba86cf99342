#pragma once

// A desktop without files for the window's behaviour: a clock and number rules the test sets,
// a shell that opens nothing, and a message box and program end that record what they are asked.

#include "platform/platform.h"

#include <string>
#include <vector>

namespace resipa::testing {

struct FakeDesk final : FileSystem, Clock, NumberRules, Shell, MessageBox, EventLoop {
    Date day{2025, 5, 9};
    NumberFormat format{",", "."};
    std::vector<std::string> shown; ///< message boxes, as "title: text"
    int endRequests = 0;

    Platform platform() { return {*this, *this, *this, *this, *this, *this}; }
    bool isFile(const std::filesystem::path&) const override { return false; }
    using Path = const std::filesystem::path&;
    Result<std::unique_ptr<InputFile>> openForReading(Path) override { return Failure{}; }
    Result<std::unique_ptr<OutputFile>> openForWriting(Path) override { return Failure{}; }
    Result<std::unique_ptr<PrivateFolder>> openPrivateFolder(Path) override { return Failure{}; }
    Date today() const override { return day; }
    LocalTime now() const override { return {day, 0, 0, 0, {}}; }
    NumberFormat numberFormat() const override { return format; }
    Result<> openDocument(Path, LaterFailure) override { return {}; }
    void inform(const std::string& title, const std::string& text) override {
        shown.push_back(title + ": " + text);
    }
    void runPendingEvents() override {}
    void endProgram() override { ++endRequests; }
};

} // namespace resipa::testing

#pragma once

// INTERIM: a stand-in for the Win32 desktop layer (win32/winplatform.h), under its names, until
// that layer joins this branch and replaces this file. It has the clock, the regional number
// rules, the message box and the message loop of Windows, but no files (no profile is read, and
// Preview says it cannot open the template) and no shell.

#include "platform/platform.h"

#include <filesystem>

namespace resipa {

/// This thread's message queue; ending the program posts WM_QUIT and dispatches nothing more.
class WinEventLoop final : public EventLoop {
public:
    void runPendingEvents() override;
    void endProgram() override;
    /// The program's message loop: returns the exit code once the program ends.
    int run();

private:
    bool m_ended = false;
};

class WinPlatform final : FileSystem, Clock, NumberRules, Shell, MessageBox {
public:
    Platform platform() { return {*this, *this, *this, *this, *this, m_eventLoop}; }
    WinEventLoop& eventLoop() { return m_eventLoop; }

private:
    bool isFile(const std::filesystem::path&) const override { return false; }
    Result<std::unique_ptr<InputFile>> openForReading(const std::filesystem::path& path) override;
    Result<std::unique_ptr<OutputFile>> openForWriting(const std::filesystem::path& path) override;
    Result<std::unique_ptr<PrivateFolder>>
    openPrivateFolder(const std::filesystem::path& path) override;
    Date today() const override { return now().date; }
    LocalTime now() const override;
    NumberFormat numberFormat() const override;
    Result<> openDocument(const std::filesystem::path& path, LaterFailure) override;
    void inform(const std::string& title, const std::string& text) override;

    WinEventLoop m_eventLoop;
};

/// The folder that holds the program's executable.
std::filesystem::path programFolder();

} // namespace resipa

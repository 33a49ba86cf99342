#include "win32/interimdesktop.h"

#include "win32/numberformat.h"
#include "win32/widetext.h"

#include <chrono>
#include <string>
#include <windows.h>

namespace resipa {

namespace {

Failure unavailable(const std::filesystem::path& path) {
    return fileFailure(FileStep::OpenForReading, path, FileCause::Unknown);
}

} // namespace

Result<std::unique_ptr<InputFile>> WinPlatform::openForReading(const std::filesystem::path& path) {
    return unavailable(path);
}

Result<std::unique_ptr<OutputFile>> WinPlatform::openForWriting(const std::filesystem::path& path) {
    return unavailable(path);
}

Result<std::unique_ptr<PrivateFolder>>
WinPlatform::openPrivateFolder(const std::filesystem::path& path) {
    return unavailable(path);
}

LocalTime WinPlatform::now() const {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return {{t.wYear, t.wMonth, t.wDay},
            t.wHour,
            t.wMinute,
            t.wSecond,
            std::chrono::system_clock::now()};
}

NumberFormat WinPlatform::numberFormat() const {
    return userNumberFormat();
}

Result<> WinPlatform::openDocument(const std::filesystem::path& path, LaterFailure) {
    return unavailable(path);
}

void WinPlatform::inform(const std::string& title, const std::string& text) {
    MessageBoxW(GetActiveWindow(), toUtf16(text).c_str(), toUtf16(title).c_str(),
                MB_OK | MB_ICONINFORMATION);
}

void WinEventLoop::runPendingEvents() {
    MSG message;
    while (!m_ended && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void WinEventLoop::endProgram() {
    m_ended = true;
    PostQuitMessage(0);
}

int WinEventLoop::run() {
    MSG message{};
    while (!m_ended && GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

std::filesystem::path programFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return std::filesystem::path(path).parent_path();
        }
        path.resize(path.size() * 2);
    }
}

} // namespace resipa

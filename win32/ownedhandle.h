#pragma once

/// @file
/// A kernel handle with one owner.

#include <utility>
#include <windows.h>

namespace resipa {

/// A handle of a file, folder or token, closed when its owner goes. Holds nothing for a failed
/// open, whichever way the call says so (null or INVALID_HANDLE_VALUE).
class OwnedHandle {
public:
    OwnedHandle() = default;
    explicit OwnedHandle(HANDLE handle)
        : m_handle(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
    ~OwnedHandle() {
        if (m_handle)
            CloseHandle(m_handle);
    }
    OwnedHandle(OwnedHandle&& other) noexcept
        : m_handle(std::exchange(other.m_handle, nullptr)) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept {
        std::swap(m_handle, other.m_handle);
        return *this;
    }

    HANDLE get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

private:
    HANDLE m_handle = nullptr;
};

} // namespace resipa

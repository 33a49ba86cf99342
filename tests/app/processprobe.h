#pragma once

// What the kernel tells about this test process: its open files, its memory and the bytes it
// has read, for bounds that hold whatever the speed of the machine.

#include <filesystem>
#include <fstream>
#include <string>

namespace resipa::testing {

/// Entries of /proc/self/fd: every file, pipe and socket the process holds open.
inline int openFileCount() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

/// A "key: value" number from a /proc/self file: VmRSS or VmHWM (KiB) from status, rchar
/// (bytes read) from io. -1 when the key is missing.
inline long long procNumber(const char* file, const std::string& key) {
    std::ifstream in(std::string("/proc/self/") + file);
    std::string word;
    long long value = 0;
    while (in >> word) {
        if (word == key + ':' && in >> value)
            return value;
    }
    return -1;
}

/// Lets VmHWM measure the peak from now on.
inline bool resetPeakMemory() {
    std::ofstream out("/proc/self/clear_refs");
    out << "5";
    out.flush();
    return static_cast<bool>(out);
}

/// Built with AddressSanitizer, whose quarantine and shadow memory make resident memory no
/// measure of the program's own use (LeakSanitizer checks leaks there instead).
constexpr bool kUnderAddressSanitizer =
#if defined(__SANITIZE_ADDRESS__)
    true;
#else
    false;
#endif

} // namespace resipa::testing

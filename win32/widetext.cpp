#include "win32/widetext.h"

#include <algorithm>
#include <limits>
#include <windows.h>

namespace resipa {

std::optional<std::string> toUtf8(std::wstring_view text) {
    if (text.empty())
        return std::string{};
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        return std::nullopt;
    const int length = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), length,
                                         nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return std::nullopt;
    std::string utf8(static_cast<std::size_t>(size), '\0');
    if (WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), length, utf8.data(), size,
                            nullptr, nullptr) != size)
        return std::nullopt;
    return utf8;
}

std::wstring toUtf16(std::string_view text) {
    if (text.empty() || text.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        return {};
    const int length = static_cast<int>(text.size());
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    std::wstring utf16(static_cast<std::size_t>(std::max(size, 0)), L'\0');
    if (size <= 0 ||
        MultiByteToWideChar(CP_UTF8, 0, text.data(), length, utf16.data(), size) != size)
        return {};
    return utf16;
}

} // namespace resipa

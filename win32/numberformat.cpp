#include "win32/numberformat.h"

#include "win32/widetext.h"

#include <cstddef>
#include <optional>
#include <string>
#include <windows.h>

namespace resipa {
namespace {

std::string separator(const wchar_t* localeName, LCTYPE which, const char* invariant) {
    const int size = GetLocaleInfoEx(localeName, which, nullptr, 0);
    if (size <= 0)
        return invariant;
    std::wstring text(static_cast<std::size_t>(size), L'\0');
    if (GetLocaleInfoEx(localeName, which, text.data(), size) != size)
        return invariant;
    text.pop_back(); // the terminating null counted in the size
    const std::optional<std::string> utf8 = toUtf8(text);
    return utf8 ? *utf8 : invariant;
}

} // namespace

NumberFormat localeNumberFormat(const wchar_t* localeName) {
    return {separator(localeName, LOCALE_STHOUSAND, ","),
            separator(localeName, LOCALE_SDECIMAL, ".")};
}

NumberFormat userNumberFormat() {
    return localeNumberFormat(LOCALE_NAME_USER_DEFAULT);
}

} // namespace resipa

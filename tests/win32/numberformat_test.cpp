#include "win32/numberformat.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <string>
#include <tuple>
#include <windows.h>

#include <gtest/gtest.h>

namespace resipa {
namespace {

void expectFormat(const NumberFormat& format, const char* group, const char* decimal) {
    EXPECT_EQ(format.groupSeparator, group);
    EXPECT_EQ(format.decimalSeparator, decimal);
}

// The suite runs in prefixes started with different LC_ALL, which Wine makes the user's locale.
TEST(UserNumberFormat, FollowsTheUsersLocale) {
    const std::tuple<std::string, const char*, const char*> cases[] = {
        {"C.UTF-8", ",", "."},
        {"id_ID.UTF-8", ".", ","},
    };
    const char* started = std::getenv("LC_ALL");
    ASSERT_NE(started, nullptr);
    const auto* it = std::ranges::find(cases, started, [](auto& c) { return std::get<0>(c); });
    ASSERT_NE(it, std::end(cases)) << started;
    expectFormat(userNumberFormat(), std::get<1>(*it), std::get<2>(*it));
}

// Separators the user chose in the regional settings count, whatever their script.
TEST(UserNumberFormat, TakesTheUsersOwnSeparators) {
    struct UserSetting {
        UserSetting(LCTYPE which, const wchar_t* value)
            : which(which) {
            GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, which, before, std::size(before));
            EXPECT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, which, value));
        }
        ~UserSetting() { SetLocaleInfoW(LOCALE_USER_DEFAULT, which, before); }
        LCTYPE which;
        wchar_t before[8] = {};
    };
    const UserSetting group(LOCALE_STHOUSAND, L"\u202F");
    const UserSetting decimal(LOCALE_SDECIMAL, L"\u066B");
    expectFormat(userNumberFormat(), "\u202F", "\u066B");
}

TEST(LocaleNumberFormat, NamedOrInvariant) {
    const std::tuple<const wchar_t*, const char*, const char*> cases[] = {
        {L"id-ID", ".", ","},
        {L"en-US", ",", "."},
        {L"de-CH", "\u2019", "."},
        {L"xx-NOWHERE", ",", "."}, // no such locale
    };
    for (const auto& [name, group, decimal] : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(name)));
        expectFormat(localeNumberFormat(name), group, decimal);
    }
}

} // namespace
} // namespace resipa

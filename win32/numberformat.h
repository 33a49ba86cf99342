#pragma once

/// @file
/// The regional number rules of Windows.

#include "konversi/amount.h"

namespace resipa {

/// The grouping and decimal separators of the user's regional settings, the user's own changes
/// to them included, as UTF-8.
NumberFormat userNumberFormat();

/// The grouping and decimal separators of the named locale ("id-ID"; nullptr for the user's),
/// as UTF-8. A separator that Windows cannot tell is the invariant locale's: "," or ".".
NumberFormat localeNumberFormat(const wchar_t* localeName);

} // namespace resipa

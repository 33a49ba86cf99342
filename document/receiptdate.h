#pragma once

/// @file
/// The receipt's date as it is printed: "9 Mei 2025".

#include <cstdint>
#include <string>

namespace resipa {

/// The month name for 1 to 12 ("Januari" ... "Desember"), the empty text otherwise.
std::string NamaBulan(const std::int32_t& bulan);

/// The receipt date text: day, month name and year, "9 Mei 2025".
std::string receiptDateText(int day, int month, int year);

} // namespace resipa

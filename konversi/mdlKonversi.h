#pragma once

/// @file
/// Amounts spelled out in Indonesian words ("terbilang").

#include <cstdint>
#include <string>
#include <string_view>

#include "konversi/amount.h"

namespace resipa {

/// The amount in words, every word capitalised, ending in " Rupiah": "SeRibu Dua Ratus  Rupiah".
/// Amounts whose plain text (sign, digits, separator and fraction) is longer than twelve
/// characters give "Melewati batas konversi Rupiah". Negative amounts are read as "Minus " and
/// the words of their magnitude. Never fails.
std::string KonversiTerbilang(Amount amount);

/// The words of one group of three digits ("000" to "999") at group position 1 (milyar) to
/// 4 (units), without the scale word. May be empty.
std::string KonversiRatusan(std::string_view group, std::uint8_t position);

} // namespace resipa

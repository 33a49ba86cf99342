#pragma once

/// @file
/// Amounts spelled out in Indonesian words ("terbilang").

#include "konversi/amount.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace resipa {

/// The amount in words, every word capitalised, ending in " Rupiah": "SeRibu Dua Ratus  Rupiah".
/// Amounts whose plain text (sign, digits, separator and fraction) is longer than twelve
/// characters give "Melewati batas konversi Rupiah". Negative amounts are read as "Minus " and
/// the words of their magnitude. Never fails.
std::string KonversiTerbilang(Amount amount);

/// The words of one group of three digits ("000" to "999") at group position 1 (milyar) to
/// 4 (units), without the scale word. May be empty; a text that is not three digits has
/// no words.
std::string KonversiRatusan(std::string_view group, std::uint8_t position);

/// The words shown for an amount beyond the conversion limit: "Melewati batas konversi Rupiah".
std::string limitWords();

} // namespace resipa

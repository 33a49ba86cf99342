#pragma once

// Helpers the window's handlers share.

#include "form/controls.h"
#include "konversi/amount.h"

#include <cstddef>
#include <string_view>

namespace resipa {

/// Selects a field's whole text: selection start 0, length the text's length.
void PilihSemua(TextField& field);

/// Centres a window on its screen, keeping its size; a window larger than the screen gets a
/// negative left or top.
void TengahLayar(FormWindow& window);

/// Rewrites an amount field's text by the grouping rule and puts the caret at its end.
void FormatJumlah(TextField& field, const NumberFormat& format);

/// The number of characters in UTF-8 text.
std::size_t characterCount(std::string_view text);

} // namespace resipa

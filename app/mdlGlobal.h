#pragma once

// Helpers the window's handlers share.

#include "konversi/amount.h"

class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace resipa {

/// Selects a field's whole text: selection start 0, length the text's length.
void PilihSemua(QLineEdit& field);
void PilihSemua(QPlainTextEdit& field);

/// Centres a window on its screen, keeping its size; a window larger than the screen gets a
/// negative left or top.
void TengahLayar(QWidget& window);

/// Rewrites an amount field's text by the grouping rule and puts the caret at its end.
void FormatJumlah(QLineEdit& field, const NumberFormat& format);

} // namespace resipa

#pragma once

// The layout records as Qt widgets, and those widgets as the controls the window's behaviour
// talks to.

#include "form/controls.h"

#include <memory>
#include <span>

#include <QString>

class QLabel;
class QPainter;
class QWidget;

namespace resipa {

/// Creates the widget of @p record as a child of @p window, named, styled and placed as its
/// record says. Lines and the shape have no widget (null): paintLayoutGraphics() draws them.
QWidget* createControlWidget(QWidget& window, const ControlRecord& record);

/// A text field over a QLineEdit or a QPlainTextEdit.
std::unique_ptr<TextField> textFieldOver(QWidget& widget);
/// A date picker over a QDateEdit.
std::unique_ptr<DatePicker> datePickerOver(QWidget& widget);
/// Any other control that takes the focus.
std::unique_ptr<Control> controlOver(QWidget& widget);

/// Sets a label's caption and sizes the label to it, keeping its top-left corner.
void setAutoSizeCaption(QLabel& label, const QString& caption);

/// Draws the lines and the shape of @p records.
void paintLayoutGraphics(QPainter& painter, std::span<const ControlRecord> records);

} // namespace resipa

#include "qt/qtcontrols.h"

#include <algorithm>
#include <limits>

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

namespace resipa {

namespace {

QColor colourOf(const ControlRecord& record) {
    return QColor(static_cast<QRgb>(record.colour));
}

QRect pixelRect(const ControlRecord& record) {
    return {twipsToPixels(record.left), twipsToPixels(record.top), twipsToPixels(record.width),
            twipsToPixels(record.height)};
}

QWidget* createTextField(QWidget& window, const ControlRecord& record) {
    const QString text = QString::fromUtf8(record.caption);
    if (!(record.flags & MultiLine)) {
        auto* field = new QLineEdit(text, &window);
        // No limit: a long value, typed or pasted, is never cut (Qt's default stops at 32767).
        field->setMaxLength(std::numeric_limits<int>::max());
        if (record.flags & RightAligned)
            field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        field->setReadOnly(record.flags & ReadOnly);
        return field;
    }
    auto* field = new QPlainTextEdit(text, &window);
    field->setTabChangesFocus(true);
    field->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    field->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    if (record.flags & ReadOnly) {
        // Read-only for typing, yet still focusable and selectable.
        field->setReadOnly(true);
        field->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
    return field;
}

/// A date field that Tab leaves, like every other control; day, month and year are reached by
/// the arrow keys and the calendar.
class TabLeavingDateEdit final : public QDateEdit {
public:
    using QDateEdit::QDateEdit;

protected:
    bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }
};

QWidget* createDatePicker(QWidget& window) {
    auto* picker = new TabLeavingDateEdit(&window);
    picker->setDisplayFormat(QStringLiteral("dd-MM-yyyy"));
    picker->setCalendarPopup(true);
    picker->setDateRange(QDate(1601, 1, 1), QDate(9999, 12, 31));
    return picker;
}

QWidget* createWidget(QWidget& window, const ControlRecord& record) {
    switch (record.kind) {
    case ControlKind::Label:
        return new QLabel(&window);
    case ControlKind::TextField:
        return createTextField(window, record);
    case ControlKind::Button: {
        auto* button = new QPushButton(QString::fromUtf8(record.caption), &window);
        // Outside a dialog a focused button ignores Enter unless it is auto-default.
        button->setAutoDefault(true);
        return button;
    }
    case ControlKind::DatePicker:
        return createDatePicker(window);
    case ControlKind::Line:
    case ControlKind::Shape:
        break;
    }
    return nullptr;
}

void applyStyle(QWidget& widget, const ControlRecord& record) {
    if (record.font.face) {
        QFont font = widget.font();
        font.setFamily(QString::fromUtf8(record.font.face));
        font.setPointSizeF(record.font.pointSize);
        font.setBold(record.font.bold);
        widget.setFont(font);
    }
    if (record.colour == kNoColour && record.kind != ControlKind::TextField)
        return;
    QPalette palette = widget.palette();
    if (record.colour != kNoColour) {
        palette.setColor(record.kind == ControlKind::Label ? QPalette::WindowText : QPalette::Text,
                         colourOf(record));
    }
    if (record.kind == ControlKind::TextField) {
        // A field shows its selection only while it has the focus, so that txtBilang's red words
        // are seen once the focus has moved on; the selection itself stays. A multi-line field
        // without the focus, and any field of an inactive window, paint it in these colours (a
        // single-line field drops it when the focus leaves).
        palette.setColor(QPalette::Inactive, QPalette::Highlight, Qt::transparent);
        palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                         palette.color(QPalette::Inactive, QPalette::Text));
    }
    widget.setPalette(palette);
}

/// Where the character @p characters on from UTF-16 index @p from lies in @p text.
int utf16Index(const QString& text, int from, std::size_t characters) {
    int at = from;
    for (; at < text.size() && characters > 0; ++at, --characters) {
        if (text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate())
            ++at;
    }
    return at;
}

class LineEditField final : public TextField {
public:
    explicit LineEditField(QLineEdit& edit)
        : m_edit(edit) {}
    std::string text() const override { return m_edit.text().toStdString(); }
    void setText(const std::string& text) override { m_edit.setText(QString::fromStdString(text)); }
    void setSelection(std::size_t start, std::size_t length) override {
        const QString text = m_edit.text();
        const int from = utf16Index(text, 0, start);
        const int to = utf16Index(text, from, length);
        m_edit.setCursorPosition(from);
        if (to > from)
            m_edit.setSelection(from, to - from);
    }
    void setFocus() override { m_edit.setFocus(Qt::TabFocusReason); }

private:
    QLineEdit& m_edit;
};

class PlainTextField final : public TextField {
public:
    explicit PlainTextField(QPlainTextEdit& edit)
        : m_edit(edit) {}
    std::string text() const override { return rawText().toStdString(); }
    void setText(const std::string& text) override {
        m_edit.setPlainText(QString::fromStdString(text));
    }
    void setSelection(std::size_t start, std::size_t length) override {
        const QString text = rawText();
        const int from = utf16Index(text, 0, start);
        QTextCursor cursor = m_edit.textCursor();
        cursor.setPosition(from);
        cursor.setPosition(utf16Index(text, from, length), QTextCursor::KeepAnchor);
        m_edit.setTextCursor(cursor);
    }
    void setFocus() override { m_edit.setFocus(Qt::TabFocusReason); }

private:
    QString rawText() const {
        // The raw text keeps no-break spaces, which toPlainText() would turn into spaces.
        QString text = m_edit.document()->toRawText();
        return text.replace(QChar::ParagraphSeparator, u'\n').replace(QChar::LineSeparator, u'\n');
    }

    QPlainTextEdit& m_edit;
};

class DateEditPicker final : public DatePicker {
public:
    explicit DateEditPicker(QDateEdit& edit)
        : m_edit(edit) {}
    Date date() const override {
        const QDate date = m_edit.date();
        return {date.year(), date.month(), date.day()};
    }
    void setDate(const Date& date) override {
        m_edit.setDate(QDate(date.year, date.month, date.day));
    }
    void setFocus() override { m_edit.setFocus(Qt::TabFocusReason); }

private:
    QDateEdit& m_edit;
};

class WidgetControl final : public Control {
public:
    explicit WidgetControl(QWidget& widget)
        : m_widget(widget) {}
    void setFocus() override { m_widget.setFocus(Qt::TabFocusReason); }

private:
    QWidget& m_widget;
};

} // namespace

QWidget* createControlWidget(QWidget& window, const ControlRecord& record) {
    QWidget* widget = createWidget(window, record);
    if (!widget)
        return nullptr;
    widget->setObjectName(QString::fromUtf8(record.name));
    applyStyle(*widget, record);
    widget->setGeometry(pixelRect(record));
    if (record.kind == ControlKind::DatePicker) {
        // A font standing in for a missing Tahoma is wider; the date must still show whole.
        widget->resize(std::max(widget->width(), widget->sizeHint().width()), widget->height());
    }
    if (record.kind == ControlKind::Label) {
        auto& label = static_cast<QLabel&>(*widget);
        label.setTextFormat(Qt::PlainText);
        if (record.flags & AutoSize)
            setAutoSizeCaption(label, QString::fromUtf8(record.caption));
        else
            label.setText(QString::fromUtf8(record.caption));
    }
    return widget;
}

std::unique_ptr<TextField> textFieldOver(QWidget& widget) {
    if (auto* line = qobject_cast<QLineEdit*>(&widget))
        return std::make_unique<LineEditField>(*line);
    return std::make_unique<PlainTextField>(*qobject_cast<QPlainTextEdit*>(&widget));
}

std::unique_ptr<DatePicker> datePickerOver(QWidget& widget) {
    return std::make_unique<DateEditPicker>(*qobject_cast<QDateEdit*>(&widget));
}

std::unique_ptr<Control> controlOver(QWidget& widget) {
    return std::make_unique<WidgetControl>(widget);
}

void setAutoSizeCaption(QLabel& label, const QString& caption) {
    label.setText(caption);
    // The caption's own extent, as adjustSize() would give for a plain label, without the
    // size-hint machinery that measures each caption three times.
    label.ensurePolished();
    label.resize(label.fontMetrics().size(0, caption));
}

void paintLayoutGraphics(QPainter& painter, std::span<const ControlRecord> records) {
    for (const ControlRecord& record : records) {
        if (record.kind != ControlKind::Line && record.kind != ControlKind::Shape)
            continue;
        QPen pen(colourOf(record), record.lineWidth);
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        if (record.kind == ControlKind::Line) {
            painter.drawLine(twipsToPixels(record.left), twipsToPixels(record.top),
                             twipsToPixels(record.width), twipsToPixels(record.height));
        } else {
            // A one-pixel outline is drawn one pixel wider and taller than its rectangle.
            painter.drawRect(pixelRect(record).adjusted(0, 0, -1, -1));
        }
    }
}

} // namespace resipa

#include "qt/qtform1.h"

#include "form/form1.h"
#include "qt/controlevents.h"
#include "qt/fonts.h"
#include "qt/qtcontrols.h"
#include "qt/qtplatform.h"
#include "qt/windowicon.h"

#include <cmath>

#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>

namespace resipa {

QtForm1::QtForm1(Platform platform, const QString& executableDirectory, QWidget* parent)
    : QWidget(parent)
    , m_events(std::make_unique<ControlEvents>()) {
    Form_Initialize();
    FormWindow& window = *this;
    m_form = std::make_unique<Form1>(window, platform, nativePath(executableDirectory));
    m_form->Form_Load();
}

QtForm1::~QtForm1() {
    // No event of a widget reaches the behaviour once it is gone.
    m_events.reset();
}

void QtForm1::Form_Initialize() {
    // The window's own settings and fonts, in place before any control is created into it.
    useStandInFonts();
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips));
    setWindowIcon(receiptIcon());
}

QWidget& QtForm1::created(const ControlRecord& record, ControlHandlers handlers) {
    QWidget* widget = createControlWidget(*this, record);
    if (!widget)
        qFatal("The layout record %s makes no control", record.name);
    m_events->route(*widget, std::move(handlers));
    return *widget;
}

template <typename Adapter>
Adapter& QtForm1::keep(QWidget& widget, std::unique_ptr<Adapter> control) {
    Adapter& kept = *control;
    m_widgets.emplace(&kept, &widget);
    m_controls.push_back(std::move(control));
    return kept;
}

TextField& QtForm1::createTextField(const ControlRecord& record, ControlHandlers handlers) {
    QWidget& widget = created(record, std::move(handlers));
    return keep(widget, textFieldOver(widget));
}

DatePicker& QtForm1::createDatePicker(const ControlRecord& record, ControlHandlers handlers) {
    QWidget& widget = created(record, std::move(handlers));
    return keep(widget, datePickerOver(widget));
}

Control& QtForm1::createButton(const ControlRecord& record, ControlHandlers handlers) {
    QWidget& widget = created(record, std::move(handlers));
    return keep(widget, controlOver(widget));
}

void QtForm1::createLabel(const ControlRecord& record) {
    createControlWidget(*this, record);
}

void QtForm1::setTabOrder(std::span<Control* const> controls) {
    for (std::size_t i = 1; i < controls.size(); ++i)
        QWidget::setTabOrder(m_widgets.at(controls[i - 1]), m_widgets.at(controls[i]));
}

void QtForm1::setCaption(const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
}

ScreenArea QtForm1::screenArea() const {
    const QRect area = screen()->geometry();
    return {area.x(), area.y(), area.width(), area.height()};
}

ScreenArea QtForm1::outerArea() const {
    const QRect area = frameGeometry();
    return {area.x(), area.y(), area.width(), area.height()};
}

void QtForm1::moveTo(float left, float top) {
    move(static_cast<int>(std::lround(left)), static_cast<int>(std::lround(top)));
}

void QtForm1::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    QPainter painter(this);
    paintLayoutGraphics(painter, form1Layout());
}

void QtForm1::closeEvent(QCloseEvent* event) {
    m_form->Form_Unload();
    event->accept();
}

} // namespace resipa

#pragma once

#include <QString>
#include <QWidget>

// After Qt's headers: moc cannot read the standard library's <concepts> when it comes first.
#include "form/controls.h"
#include "platform/platform.h"

#include <memory>
#include <unordered_map>
#include <vector>

namespace resipa {

class ControlEvents;
class Form1;

/// The receipt window on Linux: Qt widgets made from the layout records, whose events run the
/// handlers of the window's behaviour, Form1.
///
/// Its controls carry their layout names as object names (Tgl, txtNomor, ..., Command3).
class QtForm1 final : public QWidget, private FormWindow {
    Q_OBJECT

public:
    /// @p executableDirectory holds the profile, the template and the output document.
    QtForm1(Platform platform, const QString& executableDirectory, QWidget* parent = nullptr);
    ~QtForm1() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Initialize();
    QWidget& created(const ControlRecord& record, ControlHandlers handlers);

    TextField& createTextField(const ControlRecord& record, ControlHandlers handlers) override;
    DatePicker& createDatePicker(const ControlRecord& record, ControlHandlers handlers) override;
    Control& createButton(const ControlRecord& record, ControlHandlers handlers) override;
    void createLabel(const ControlRecord& record) override;
    void setTabOrder(std::span<Control* const> controls) override;
    void setCaption(const std::string& caption) override;
    ScreenArea screenArea() const override;
    ScreenArea outerArea() const override;
    void moveTo(float left, float top) override;

    template <typename Adapter>
    Adapter& keep(QWidget& widget, std::unique_ptr<Adapter> control);

    std::vector<std::unique_ptr<Control>> m_controls;
    std::unordered_map<const Control*, QWidget*> m_widgets;
    std::unique_ptr<ControlEvents> m_events;
    std::unique_ptr<Form1> m_form;
};

} // namespace resipa

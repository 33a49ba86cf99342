// Form1's Enter navigation, selection on focus, and one press of a button per key press.

#include "app/controlevents.h"
#include "app/form1.h"
#include "app/mdlGlobal.h"

#include <functional>

#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace resipa {

namespace {

constexpr int kEnter = ControlEvents::kEnter;

} // namespace

void Form1::routeControlEvents() {
    m_events = new ControlEvents(this);
    const auto keyDown = [this](void (Form1::*handler)(int&, int)) {
        return std::function<void(int&, int)>(std::bind_front(handler, this));
    };
    const auto gotFocus = [this](void (Form1::*handler)()) {
        return std::function<void()>(std::bind_front(handler, this));
    };
    // The date would select its part again on Enter, after the focus has moved on, and show it.
    m_events->route(*Tgl, {.keyDown = keyDown(&Form1::Tgl_KeyDown), .swallowEnter = true});
    m_events->route(*txtNomor, {.keyDown = keyDown(&Form1::txtNomor_KeyDown),
                                .gotFocus = gotFocus(&Form1::txtNomor_GotFocus)});
    m_events->route(*txtTempat, {.keyDown = keyDown(&Form1::txtTempat_KeyDown),
                                 .gotFocus = gotFocus(&Form1::txtTempat_GotFocus)});
    m_events->route(*txtPen, {.keyDown = keyDown(&Form1::txtPen_KeyDown),
                              .gotFocus = gotFocus(&Form1::txtPen_GotFocus)});
    m_events->route(*txtJml, {.keyDown = keyDown(&Form1::txtJml_KeyDown),
                              .keyPress = std::bind_front(&Form1::txtJml_KeyPress, this),
                              .gotFocus = gotFocus(&Form1::txtJml_GotFocus)});
    m_events->route(*txtBilang, {.gotFocus = gotFocus(&Form1::txtBilang_GotFocus)});
    m_events->route(*txtKet, {.keyDown = keyDown(&Form1::txtKet_KeyDown),
                              .gotFocus = gotFocus(&Form1::txtKet_GotFocus),
                              .swallowEnter = true});
    m_events->route(*txtNPer, {.keyDown = keyDown(&Form1::txtNPer_KeyDown),
                               .gotFocus = gotFocus(&Form1::txtNPer_GotFocus)});
    m_events->route(*txtDesc, {.keyDown = keyDown(&Form1::txtDesc_KeyDown),
                               .gotFocus = gotFocus(&Form1::txtDesc_GotFocus),
                               .swallowEnter = true});
    m_events->route(*txtAl, {.keyDown = keyDown(&Form1::txtAl_KeyDown),
                             .gotFocus = gotFocus(&Form1::txtAl_GotFocus)});
    m_events->route(*txtNBank, {.keyDown = keyDown(&Form1::txtNBank_KeyDown),
                                .gotFocus = gotFocus(&Form1::txtNBank_GotFocus)});
    m_events->route(*txtAcc, {.keyDown = keyDown(&Form1::txtAcc_KeyDown),
                              .gotFocus = gotFocus(&Form1::txtAcc_GotFocus)});
    m_events->route(*txtANB, {.keyDown = keyDown(&Form1::txtANB_KeyDown),
                              .gotFocus = gotFocus(&Form1::txtANB_GotFocus)});
    m_events->route(*txtPimp, {.keyDown = keyDown(&Form1::txtPimp_KeyDown),
                               .gotFocus = gotFocus(&Form1::txtPimp_GotFocus)});
    for (QPushButton* button : {Command1, Command2, Command3})
        m_events->route(*button, {.pressOnce = true});
}

void Form1::tabOnEnter(int KeyCode, int count) {
    if (KeyCode != kEnter)
        return;
    // At once, before the next key is delivered: keys typed ahead of a busy window are already
    // waiting and must reach the field this Enter leads to. Each control passed through gets
    // the focus in turn and runs its focus handling.
    for (int i = 0; i < count; ++i)
        focusNextChild();
}

void Form1::Tgl_KeyDown(int& KeyCode, int) {
    tabOnEnter(KeyCode, 1);
}
void Form1::txtNomor_KeyDown(int& KeyCode, int) {
    tabOnEnter(KeyCode, 1);
}
void Form1::txtTempat_KeyDown(int& KeyCode, int) {
    tabOnEnter(KeyCode, 1);
}
void Form1::txtPen_KeyDown(int& KeyCode, int) {
    tabOnEnter(KeyCode, 1);
}
// Past the words field to the description.
void Form1::txtJml_KeyDown(int& KeyCode, int) {
    tabOnEnter(KeyCode, 2);
}
void Form1::txtKet_KeyDown(int& KeyCode, int) {
    tabOnEnter(KeyCode, 1);
}
void Form1::txtNPer_KeyDown(int& KeyCode, int) {
    tabOnEnter(KeyCode, 1);
}
void Form1::txtDesc_KeyDown(int& KeyCode, int) {
    tabOnEnter(KeyCode, 1);
}
void Form1::txtAl_KeyDown(int& KeyCode, int) {
    tabOnEnter(KeyCode, 1);
}
void Form1::txtNBank_KeyDown(int& KeyCode, int) {
    tabOnEnter(KeyCode, 1);
}
void Form1::txtAcc_KeyDown(int& KeyCode, int) {
    tabOnEnter(KeyCode, 1);
}
void Form1::txtANB_KeyDown(int& KeyCode, int) {
    tabOnEnter(KeyCode, 1);
}

// The company chain ends on "Preview", not on the date where a Tab would lead.
void Form1::txtPimp_KeyDown(int& KeyCode, int) {
    if (KeyCode == kEnter)
        Command3->setFocus(Qt::TabFocusReason);
}

void Form1::txtNomor_GotFocus() {
    PilihSemua(*txtNomor);
}
void Form1::txtTempat_GotFocus() {
    PilihSemua(*txtTempat);
}
void Form1::txtPen_GotFocus() {
    PilihSemua(*txtPen);
}
void Form1::txtJml_GotFocus() {
    PilihSemua(*txtJml);
}
void Form1::txtBilang_GotFocus() {
    PilihSemua(*txtBilang);
}
void Form1::txtKet_GotFocus() {
    PilihSemua(*txtKet);
}
void Form1::txtNPer_GotFocus() {
    PilihSemua(*txtNPer);
}
void Form1::txtDesc_GotFocus() {
    PilihSemua(*txtDesc);
}
void Form1::txtAl_GotFocus() {
    PilihSemua(*txtAl);
}
void Form1::txtNBank_GotFocus() {
    PilihSemua(*txtNBank);
}
void Form1::txtAcc_GotFocus() {
    PilihSemua(*txtAcc);
}
void Form1::txtANB_GotFocus() {
    PilihSemua(*txtANB);
}
void Form1::txtPimp_GotFocus() {
    PilihSemua(*txtPimp);
}

} // namespace resipa

// Form1's Enter navigation, selection on focus, and the handlers each control's events run.

#include "form/form1.h"
#include "form/mdlGlobal.h"

#include <algorithm>
#include <functional>

namespace resipa {

namespace {

/// The key code of Enter.
constexpr int kEnter = 13;

} // namespace

ControlHandlers Form1::handlersOf(const ControlRecord& record) {
    using KeyDown = void (Form1::*)(int&, int);
    using Handler = void (Form1::*)();
    struct Wiring {
        std::string_view name;
        KeyDown keyDown;
        Handler gotFocus;
        Handler click;
    };
    static constexpr Wiring kWiring[] = {
        {"Tgl", &Form1::Tgl_KeyDown, nullptr, nullptr},
        {"txtNomor", &Form1::txtNomor_KeyDown, &Form1::txtNomor_GotFocus, nullptr},
        {"txtTempat", &Form1::txtTempat_KeyDown, &Form1::txtTempat_GotFocus, nullptr},
        {"txtPen", &Form1::txtPen_KeyDown, &Form1::txtPen_GotFocus, nullptr},
        {"txtJml", &Form1::txtJml_KeyDown, &Form1::txtJml_GotFocus, nullptr},
        {"txtBilang", nullptr, &Form1::txtBilang_GotFocus, nullptr},
        {"txtKet", &Form1::txtKet_KeyDown, &Form1::txtKet_GotFocus, nullptr},
        {"txtNPer", &Form1::txtNPer_KeyDown, &Form1::txtNPer_GotFocus, nullptr},
        {"txtDesc", &Form1::txtDesc_KeyDown, &Form1::txtDesc_GotFocus, nullptr},
        {"txtAl", &Form1::txtAl_KeyDown, &Form1::txtAl_GotFocus, nullptr},
        {"txtNBank", &Form1::txtNBank_KeyDown, &Form1::txtNBank_GotFocus, nullptr},
        {"txtAcc", &Form1::txtAcc_KeyDown, &Form1::txtAcc_GotFocus, nullptr},
        {"txtANB", &Form1::txtANB_KeyDown, &Form1::txtANB_GotFocus, nullptr},
        {"txtPimp", &Form1::txtPimp_KeyDown, &Form1::txtPimp_GotFocus, nullptr},
        {"Command1", nullptr, nullptr, &Form1::Command1_Click},
        {"Command2", nullptr, nullptr, &Form1::Command2_Click},
        {"Command3", nullptr, nullptr, &Form1::Command3_Click},
    };
    ControlHandlers handlers;
    for (const Wiring& wiring : kWiring) {
        if (wiring.name != record.name)
            continue;
        if (wiring.keyDown)
            handlers.keyDown = std::bind_front(wiring.keyDown, this);
        if (wiring.gotFocus)
            handlers.gotFocus = std::bind_front(wiring.gotFocus, this);
        if (wiring.click)
            handlers.click = std::bind_front(wiring.click, this);
    }
    if (std::string_view(record.name) == "txtJml") {
        handlers.keyPress = std::bind_front(&Form1::txtJml_KeyPress, this);
        handlers.change = std::bind_front(&Form1::txtJml_Change, this);
    }
    // Enter moves the focus on and never reaches the control itself: a multi-line field would
    // add a line break, the date would select its part again after the focus has left.
    handlers.swallowEnter =
        (record.flags & MultiLine) != 0 || record.kind == ControlKind::DatePicker;
    // One press, one click: a key held on a button never presses it again.
    handlers.pressOnce = record.kind == ControlKind::Button;
    return handlers;
}

void Form1::tabOnEnter(int KeyCode, const Control& from, int count) {
    if (KeyCode != kEnter)
        return;
    const auto at = std::ranges::find(m_tabOrder, &from);
    if (at == m_tabOrder.end())
        return;
    // At once, before the next key is delivered: keys typed ahead of a busy window are already
    // waiting and must reach the field this Enter leads to. Each control passed through gets
    // the focus in turn and runs its focus handling.
    auto position = static_cast<std::size_t>(at - m_tabOrder.begin());
    for (int i = 0; i < count; ++i) {
        position = (position + 1) % m_tabOrder.size();
        m_tabOrder[position]->setFocus();
    }
}

void Form1::Tgl_KeyDown(int& KeyCode, int) {
    tabOnEnter(KeyCode, *Tgl, 1);
}
void Form1::txtNomor_KeyDown(int& KeyCode, int) {
    tabOnEnter(KeyCode, *txtNomor, 1);
}
void Form1::txtTempat_KeyDown(int& KeyCode, int) {
    tabOnEnter(KeyCode, *txtTempat, 1);
}
void Form1::txtPen_KeyDown(int& KeyCode, int) {
    tabOnEnter(KeyCode, *txtPen, 1);
}
// Past the words field to the description.
void Form1::txtJml_KeyDown(int& KeyCode, int) {
    tabOnEnter(KeyCode, *txtJml, 2);
}
void Form1::txtKet_KeyDown(int& KeyCode, int) {
    tabOnEnter(KeyCode, *txtKet, 1);
}
void Form1::txtNPer_KeyDown(int& KeyCode, int) {
    tabOnEnter(KeyCode, *txtNPer, 1);
}
void Form1::txtDesc_KeyDown(int& KeyCode, int) {
    tabOnEnter(KeyCode, *txtDesc, 1);
}
void Form1::txtAl_KeyDown(int& KeyCode, int) {
    tabOnEnter(KeyCode, *txtAl, 1);
}
void Form1::txtNBank_KeyDown(int& KeyCode, int) {
    tabOnEnter(KeyCode, *txtNBank, 1);
}
void Form1::txtAcc_KeyDown(int& KeyCode, int) {
    tabOnEnter(KeyCode, *txtAcc, 1);
}
void Form1::txtANB_KeyDown(int& KeyCode, int) {
    tabOnEnter(KeyCode, *txtANB, 1);
}

// The company chain ends on "Preview", not on the date where a Tab would lead.
void Form1::txtPimp_KeyDown(int& KeyCode, int) {
    if (KeyCode == kEnter)
        Command3->setFocus();
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

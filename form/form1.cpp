#include "form/form1.h"

#include "document/receiptdate.h"
#include "form/mdlGlobal.h"
#include "form/preview.h"
#include "konversi/amountfield.h"
#include "platform/profilereading.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace resipa {

namespace {

// A value longer than its field shows from its beginning, not scrolled to its end.
void setProfileText(TextField& field, const std::string& value) {
    field.setText(value);
    field.setSelection(0, 0);
}

template <typename Control>
void require(Control* control, std::string_view name) {
    if (control)
        return;
    std::fprintf(stderr, "The layout has no control %.*s of the expected kind\n",
                 static_cast<int>(name.size()), name.data());
    std::abort();
}

} // namespace

Form1::Form1(FormWindow& window, Platform platform, std::filesystem::path executableDirectory)
    : m_window(window)
    , m_platform(platform)
    , m_executableDirectory(std::move(executableDirectory))
    , m_slots(platform.files) {
    createControls();
}

Form1::~Form1() = default;

// Every record becomes a control of the window, with the handlers its events run; the named
// ones are kept for the handlers, the focusable ones in tab order for Enter.
void Form1::createControls() {
    static constexpr std::pair<std::string_view, TextField * Form1::*> kFields[] = {
        {"txtNomor", &Form1::txtNomor},   {"txtTempat", &Form1::txtTempat},
        {"txtPen", &Form1::txtPen},       {"txtJml", &Form1::txtJml},
        {"txtBilang", &Form1::txtBilang}, {"txtKet", &Form1::txtKet},
        {"txtNPer", &Form1::txtNPer},     {"txtDesc", &Form1::txtDesc},
        {"txtAl", &Form1::txtAl},         {"txtNBank", &Form1::txtNBank},
        {"txtAcc", &Form1::txtAcc},       {"txtANB", &Form1::txtANB},
        {"txtPimp", &Form1::txtPimp},
    };
    static constexpr std::pair<std::string_view, Control * Form1::*> kButtons[] = {
        {"Command1", &Form1::Command1},
        {"Command2", &Form1::Command2},
        {"Command3", &Form1::Command3},
    };
    const auto bind = [this](const auto& table, std::string_view name, auto& control) {
        for (const auto& [named, member] : table)
            if (named == name)
                this->*member = &control;
    };
    std::vector<std::pair<int, Control*>> tabStops;
    for (const ControlRecord& record : form1Layout()) {
        const std::string_view name = record.name;
        Control* focusable = nullptr;
        switch (record.kind) {
        case ControlKind::Label:
            m_window.createLabel(record);
            break;
        case ControlKind::TextField: {
            TextField& field = m_window.createTextField(record, handlersOf(record));
            bind(kFields, name, field);
            focusable = &field;
            break;
        }
        case ControlKind::DatePicker:
            Tgl = &m_window.createDatePicker(record, handlersOf(record));
            focusable = Tgl;
            break;
        case ControlKind::Button:
            focusable = &m_window.createButton(record, handlersOf(record));
            bind(kButtons, name, *focusable);
            break;
        case ControlKind::Line:
        case ControlKind::Shape:
            break;
        }
        if (focusable)
            tabStops.emplace_back(record.tabIndex, focusable);
    }
    require(Tgl, "Tgl");
    for (const auto& [name, member] : kFields)
        require(this->*member, name);
    for (const auto& [name, member] : kButtons)
        require(this->*member, name);
    std::ranges::sort(tabStops, {}, &std::pair<int, Control*>::first);
    for (const auto& [tabIndex, control] : tabStops)
        m_tabOrder.push_back(control);
    m_window.setTabOrder(m_tabOrder);
}

void Form1::Form_Load() {
    m_profilePath = m_executableDirectory / "informasi.inf";
    TengahLayar(m_window);
    Tgl->setDate(m_platform.clock.today());
    m_window.setCaption("Resipa Elektronik - resipa@example.com");
    if (m_platform.files.isFile(m_profilePath))
        m_profilPerusahaan = readProfileFile(m_slots, m_profilePath);
    TextField* const profileFields[] = {txtTempat, txtNPer, txtDesc, txtAl,
                                        txtNBank,  txtAcc,  txtANB,  txtPimp};
    for (std::size_t i = 0; i < m_profilPerusahaan.size(); ++i)
        setProfileText(*profileFields[i], m_profilPerusahaan[i]);
    Tgl->setFocus();
}

void Form1::Form_Unload() {
    endProgram();
}

void Form1::Command1_Click() {
    endProgram();
}

void Form1::Command2_Click() {
    Tgl->setDate(m_platform.clock.today());
    txtNomor->setText({});
    txtTempat->setText({});
    txtPen->setText({});
    txtJml->setText("0");
    txtBilang->setText({});
    txtKet->setText({});
    Tgl->setFocus();
}

void Form1::Command3_Click() {
    // A press while a Preview runs arrives here nested, from its pauses, and only takes a turn.
    if (!m_previewTurns.press(receiptValues()))
        return;
    do
        runPreview();
    while (m_previewTurns.ended(receiptValues()));
}

void Form1::runPreview() {
    // The opener may fail after the window is gone, when nobody is left to tell.
    PreviewRun preview(m_slots, m_platform, m_previewTurns.values(),
                       [alive = std::weak_ptr<Form1*>(m_alive)](const Failure& failure) {
                           if (const std::shared_ptr<Form1*> form = alive.lock())
                               (*form)->showFailure(failure);
                       });
    m_runningPreview = &preview;
    const Result<> previewed = preview.run(m_executableDirectory);
    m_runningPreview = nullptr;
    if (!previewed)
        showFailure(previewed.failure());
}

void Form1::showFailure(const Failure& failure) {
    m_platform.messageBox.inform("Unhandle Error", failure.text);
}

void Form1::txtJml_KeyPress(char32_t& KeyAscii) {
    SaringAngka(KeyAscii);
}

void Form1::txtJml_Change() {
    const NumberFormat format = m_platform.numbers.numberFormat();
    // Regrouping changes the text and so runs this handler once more, nested; the nested run
    // finds nothing left to regroup.
    FormatJumlah(*txtJml, format);
    const std::string words = wordsForAmountText(txtJml->text(), format);
    // After a regrouping the nested run has written these very words already; laying the same
    // text out a second time is most of what a keystroke costs.
    if (txtBilang->text() != words)
        txtBilang->setText(words);
}

ReceiptValues Form1::receiptValues() const {
    const Date date = Tgl->date();
    return {
        .tanggal = receiptDateText(date.day, date.month, date.year),
        .nomor = txtNomor->text(),
        .keterangan = txtKet->text(),
        .jumlah = receiptAmountText(txtJml->text(), m_platform.numbers.numberFormat()),
        .kota = txtTempat->text(),
        .terbilang = txtBilang->text(),
        .nama = txtPen->text(),
        .namaPerusahaan = txtNPer->text(),
        .alamatPerusahaan = txtAl->text(),
        .deskripsiPerusahaan = txtDesc->text(),
        .namaPimpinan = txtPimp->text(),
        .namaBank = txtNBank->text(),
        .atasNama = txtANB->text(),
        .acc = txtAcc->text(),
    };
}

void Form1::endProgram() {
    m_previewTurns.endProgram();
    if (m_runningPreview)
        m_runningPreview->abandon();
    m_platform.eventLoop.endProgram();
}

} // namespace resipa

#pragma once

#include <QString>
#include <QWidget>

// After Qt's headers: moc cannot read the standard library's <concepts> when it comes first.
#include "app/previewturns.h"
#include "document/receiptvalues.h"
#include "platform/fileslots.h"
#include "platform/platform.h"
#include "profile/profilefile.h"

class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace resipa {

class ControlEvents;
class PreviewRun;

/// The receipt window: the company profile beside the receipt's fields, "Preview" to write and
/// open the receipt document, "Clear" for the next receipt, "Keluar" to end.
///
/// Its controls carry their layout names as object names (Tgl, txtNomor, ..., Command3).
class Form1 final : public QWidget {
    Q_OBJECT

public:
    /// @p executableDirectory holds the profile, the template and the output document; it has
    /// no trailing separator.
    Form1(Platform platform, QString executableDirectory, QWidget* parent = nullptr);
    ~Form1() override;

    /// "Keluar": ends the program at once.
    void Command1_Click();
    /// "Clear": empties the receipt's own fields for the next one.
    void Command2_Click();
    /// "Preview": fills the template into the output document and opens it. Returns when done;
    /// window events run meanwhile. Pressed while a Preview runs, it previews, once that one
    /// ends, what the fields hold then, unless they hold that very receipt.
    void Command3_Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Initialize();
    void createControls();
    void routeControlEvents();
    void Form_Load();

    // Enter navigation.
    void Tgl_KeyDown(int& KeyCode, int Shift);
    void txtNomor_KeyDown(int& KeyCode, int Shift);
    void txtTempat_KeyDown(int& KeyCode, int Shift);
    void txtPen_KeyDown(int& KeyCode, int Shift);
    void txtJml_KeyDown(int& KeyCode, int Shift);
    void txtKet_KeyDown(int& KeyCode, int Shift);
    void txtNPer_KeyDown(int& KeyCode, int Shift);
    void txtDesc_KeyDown(int& KeyCode, int Shift);
    void txtAl_KeyDown(int& KeyCode, int Shift);
    void txtNBank_KeyDown(int& KeyCode, int Shift);
    void txtAcc_KeyDown(int& KeyCode, int Shift);
    void txtANB_KeyDown(int& KeyCode, int Shift);
    void txtPimp_KeyDown(int& KeyCode, int Shift);
    /// For Enter, moves the focus @p count stops along the tab order at once, as that many Tab
    /// presses would.
    void tabOnEnter(int KeyCode, int count);

    // Selection on focus.
    void txtNomor_GotFocus();
    void txtTempat_GotFocus();
    void txtPen_GotFocus();
    void txtJml_GotFocus();
    void txtBilang_GotFocus();
    void txtKet_GotFocus();
    void txtNPer_GotFocus();
    void txtDesc_GotFocus();
    void txtAl_GotFocus();
    void txtNBank_GotFocus();
    void txtAcc_GotFocus();
    void txtANB_GotFocus();
    void txtPimp_GotFocus();

    // The amount field.
    void txtJml_KeyPress(char32_t& KeyAscii);
    void txtJml_Change();

    /// One Preview of the values whose turn it is.
    void runPreview();
    ReceiptValues receiptValues() const;
    /// The "Unhandle Error" box.
    void showFailure(const Failure& failure);
    /// Abandons a running Preview, then ends the program.
    void endProgram();

    Platform m_platform;
    QString m_executableDirectory;
    QString m_profilePath;
    FileSlots m_slots;
    resipa::ProfilPerusahaan m_profilPerusahaan;
    ControlEvents* m_events = nullptr;
    PreviewTurns m_previewTurns;
    PreviewRun* m_runningPreview = nullptr;

    QDateEdit* Tgl = nullptr;
    QLineEdit* txtNomor = nullptr;
    QLineEdit* txtTempat = nullptr;
    QLineEdit* txtPen = nullptr;
    QLineEdit* txtJml = nullptr;
    QPlainTextEdit* txtBilang = nullptr;
    QPlainTextEdit* txtKet = nullptr;
    QLineEdit* txtNPer = nullptr;
    QPlainTextEdit* txtDesc = nullptr;
    QLineEdit* txtAl = nullptr;
    QLineEdit* txtNBank = nullptr;
    QLineEdit* txtAcc = nullptr;
    QLineEdit* txtANB = nullptr;
    QLineEdit* txtPimp = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
};

} // namespace resipa

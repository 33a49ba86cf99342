#pragma once

#include "document/receiptvalues.h"
#include "form/controls.h"
#include "form/previewturns.h"
#include "platform/fileslots.h"
#include "platform/platform.h"
#include "profile/profilefile.h"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace resipa {

class PreviewRun;

/// The receipt window's behaviour, whatever draws it: the company profile beside the receipt's
/// fields, Enter from field to field, the amount regrouped and spelled out as it is typed,
/// "Preview" to write and open the receipt document, "Clear" for the next receipt, "Keluar" to
/// end. It creates its controls through @p window from the layout records, with the handlers
/// their events run.
class Form1 {
public:
    /// @p executableDirectory holds the profile, the template and the output document.
    Form1(FormWindow& window, Platform platform, std::filesystem::path executableDirectory);
    ~Form1();
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    /// Before the window is first shown: centred, dated today, captioned, the profile read.
    void Form_Load();
    /// The window is being closed: the program ends, as by "Keluar".
    void Form_Unload();

private:
    void createControls();
    ControlHandlers handlersOf(const ControlRecord& record);

    /// "Keluar": ends the program at once.
    void Command1_Click();
    /// "Clear": empties the receipt's own fields for the next one.
    void Command2_Click();
    /// "Preview": fills the template into the output document and opens it. Returns when done;
    /// window events run meanwhile. Pressed while a Preview runs, it previews, once that one
    /// ends, what the fields hold then, unless they hold that very receipt.
    void Command3_Click();

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
    /// For Enter, moves the focus from @p from @p count stops along the tab order at once, as
    /// that many Tab presses would.
    void tabOnEnter(int KeyCode, const Control& from, int count);

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

    FormWindow& m_window;
    Platform m_platform;
    std::filesystem::path m_executableDirectory;
    std::filesystem::path m_profilePath;
    FileSlots m_slots;
    ProfilPerusahaan m_profilPerusahaan;
    PreviewTurns m_previewTurns;
    PreviewRun* m_runningPreview = nullptr;
    /// The focusable controls in tab order.
    std::vector<Control*> m_tabOrder;
    /// Expires with the window: an opener failing later has nobody left to tell.
    std::shared_ptr<Form1*> m_alive = std::make_shared<Form1*>(this);

    DatePicker* Tgl = nullptr;
    TextField* txtNomor = nullptr;
    TextField* txtTempat = nullptr;
    TextField* txtPen = nullptr;
    TextField* txtJml = nullptr;
    TextField* txtBilang = nullptr;
    TextField* txtKet = nullptr;
    TextField* txtNPer = nullptr;
    TextField* txtDesc = nullptr;
    TextField* txtAl = nullptr;
    TextField* txtNBank = nullptr;
    TextField* txtAcc = nullptr;
    TextField* txtANB = nullptr;
    TextField* txtPimp = nullptr;
    Control* Command1 = nullptr;
    Control* Command2 = nullptr;
    Control* Command3 = nullptr;
};

} // namespace resipa

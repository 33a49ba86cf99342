#pragma once

/// @file
/// Filling one template line with a receipt's values.

#include "konversi/amount.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace resipa {

/// The month name for 1 to 12 ("Januari" ... "Desember"), the empty text otherwise.
std::string NamaBulan(const std::int32_t& bulan);

/// The receipt date text: day, month name and year, "9 Mei 2025".
std::string receiptDateText(int day, int month, int year);

/// The receipt's values as the window holds them, UTF-8 text exactly as typed.
struct ReceiptValues {
    std::string tanggal;             ///< the receipt date text, "9 Mei 2025"
    std::string nomor;               ///< txtNomor
    std::string keterangan;          ///< txtKet
    std::string jumlah;              ///< txtJml, as the field shows it
    std::string kota;                ///< txtTempat
    std::string terbilang;           ///< txtBilang
    std::string nama;                ///< txtPen
    std::string namaPerusahaan;      ///< txtNPer
    std::string alamatPerusahaan;    ///< txtAl
    std::string deskripsiPerusahaan; ///< txtDesc
    std::string namaPimpinan;        ///< txtPimp
    std::string namaBank;            ///< txtNBank
    std::string atasNama;            ///< txtANB
    std::string acc;                 ///< txtAcc

    /// Lets a caller that reads the fields anew for every line rebuild its LineFiller only
    /// when something changed.
    bool operator==(const ReceiptValues&) const = default;
};

/// A placeholder of the template and the receipt value that fills it.
struct Placeholder {
    std::string_view text;
    std::string ReceiptValues::*value;
};

/// The fourteen placeholders in the order they are filled: a value holding a later placeholder
/// is filled in turn, an earlier one stays literal. "[JUMLAH]" takes "Rp." and the regrouped
/// amount rather than the field's text as it stands.
inline constexpr std::array<Placeholder, 14> kPlaceholders{{
    {"[TGL_RESIPA]", &ReceiptValues::tanggal},
    {"[NOMOR_RESIPA]", &ReceiptValues::nomor},
    {"[KETERANGAN]", &ReceiptValues::keterangan},
    {"[JUMLAH]", &ReceiptValues::jumlah},
    {"[KOTA]", &ReceiptValues::kota},
    {"[TERBILANG]", &ReceiptValues::terbilang},
    {"[NAMA]", &ReceiptValues::nama},
    {"[NAMA_PERUSAHAAN]", &ReceiptValues::namaPerusahaan},
    {"[ALAMAT_PERUSAHAAN]", &ReceiptValues::alamatPerusahaan},
    {"[DESCRIPSI_PERUSAHAAN]", &ReceiptValues::deskripsiPerusahaan},
    {"[NAMA_PIMPINAN]", &ReceiptValues::namaPimpinan},
    {"[NAMA_BANK]", &ReceiptValues::namaBank},
    {"[ATAS_NAMA]", &ReceiptValues::atasNama},
    {"[ACC]", &ReceiptValues::acc},
}};

/// A value made safe for an RTF document: "\", "{" and "}" escaped, every non-ASCII character
/// as an RTF Unicode escape in a group of its own ("{\uc1\u233 ?}", whatever the template's code
/// page or \uc), a line break (LF, CR LF or CR) as "\line ", a tab as "\tab ", other control
/// characters dropped, ill-formed UTF-8 as U+FFFD. Square brackets stay, so placeholders chain.
std::string rtfSafe(std::string_view utf8);

/// Fills template lines with one set of values. Built once per set of values (escaping and
/// regrouping are done here, not per line); fill() is then cheap for lines without "[".
class LineFiller {
public:
    LineFiller(const ReceiptValues& values, const NumberFormat& format);

    /// The fourteen replacements, in order, each on the result of the one before; values are
    /// inserted made safe by rtfSafe(), the template's own bytes pass untouched. Where a
    /// placeholder stands in RTF syntax the template left open, that syntax is closed first,
    /// whatever the value: after a control word ("\b[NAMA]") a delimiting space, after a lone
    /// backslash the placeholder's "[" (the control symbol "\[" the template wrote), after "\'"
    /// the missing hex digits.
    /// A line may also be filled in the pieces TemplateLineReader::nextPiece() gives, with the
    /// same result. @p out receives the filled line; it must not hold the bytes @p line views.
    void fill(std::string_view line, std::string& out) const;
    std::string fill(std::string_view line) const;

private:
    void fillPiece(std::string& text, std::string& scratch) const;

    struct Replacement {
        std::string_view placeholder;
        std::string value;
    };
    std::array<Replacement, kPlaceholders.size()> m_replacements;
};

} // namespace resipa

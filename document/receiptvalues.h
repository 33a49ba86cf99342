#pragma once

/// @file
/// The fourteen values of a receipt and the placeholders of the template they fill.

#include <array>
#include <string>
#include <string_view>

namespace resipa {

/// The receipt's values as the window holds them, UTF-8 text exactly as typed.
struct ReceiptValues {
    std::string tanggal;             ///< the receipt date text, "9 Mei 2025"
    std::string nomor;               ///< txtNomor
    std::string keterangan;          ///< txtKet
    std::string jumlah;              ///< "Rp." and txtJml regrouped, "Rp.1,500,000"
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
/// is filled in turn, an earlier one stays literal.
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

} // namespace resipa

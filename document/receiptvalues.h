#pragma once

/// @file
/// The fourteen values of a receipt and the placeholders of the template they fill.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
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

inline constexpr std::size_t kLongestPlaceholder = [] {
    std::size_t longest = 0;
    for (const Placeholder& placeholder : kPlaceholders) {
        longest = std::max(longest, placeholder.text.size());
    }
    return longest;
}();

/// Placeholders as a set, bit i for kPlaceholders[i].
using PlaceholderSet = std::uint16_t;
inline constexpr PlaceholderSet kAllPlaceholders = (1U << kPlaceholders.size()) - 1;

/// For each position in a placeholder and each byte, the placeholders that hold that byte
/// there. Text begins the placeholders that all its bytes' sets share: a few table reads instead
/// of a comparison with each placeholder, however many "[" a template holds.
inline constexpr auto kPlaceholdersWith = [] {
    std::array<std::array<PlaceholderSet, 256>, kLongestPlaceholder> with{};
    for (std::size_t p = 0; p < kPlaceholders.size(); ++p) {
        for (std::size_t i = 0; i < kPlaceholders[p].text.size(); ++i) {
            with[i][static_cast<unsigned char>(kPlaceholders[p].text[i])] |=
                static_cast<PlaceholderSet>(1U << p);
        }
    }
    return with;
}();

/// The placeholders that @p text is the beginning of (a whole one among them).
constexpr PlaceholderSet placeholdersBegunBy(std::string_view text) {
    if (text.size() > kLongestPlaceholder) {
        return 0;
    }
    PlaceholderSet candidates = kAllPlaceholders;
    for (std::size_t i = 0; i < text.size() && candidates != 0; ++i) {
        candidates &= kPlaceholdersWith[i][static_cast<unsigned char>(text[i])];
    }
    return candidates;
}

} // namespace resipa

#include "bench/receiptvalues.h"

#include "document/receiptdate.h"
#include "konversi/amountfield.h"

namespace resipa::bench {

NumberFormat commaGrouping() {
    return NumberFormat{",", "."};
}

ReceiptValues sampleReceiptValues() {
    ReceiptValues values;
    values.tanggal = receiptDateText(kSampleDay, kSampleMonth, kSampleYear);
    values.nomor = "KW-2025/05/0173";
    values.keterangan = "Pelunasan cetak brosur dan kalender 2025";
    values.jumlah = receiptAmountText(kSampleAmount, commaGrouping());
    values.kota = "Yogyakarta";
    values.terbilang = wordsForAmountText(kSampleAmount, commaGrouping());
    values.nama = "Budi Santoso";
    values.namaPerusahaan = "CV Sinar Cetak Mandiri";
    values.alamatPerusahaan = "Jl. Kaliurang Km 5 No. 21 Sleman";
    values.deskripsiPerusahaan = "Percetakan Offset dan Desain Grafis";
    values.namaPimpinan = "Ratna Wulandari";
    values.namaBank = "Bank Rakyat Indonesia";
    values.atasNama = "CV Sinar Cetak Mandiri";
    values.acc = "0123-01-004567-50-9";
    return values;
}

std::vector<std::pair<std::string_view, std::string>>
filledPlaceholders(const ReceiptValues& values) {
    // The sample values are plain ASCII, so sed may insert them as they are.
    std::vector<std::pair<std::string_view, std::string>> filled;
    for (const auto& [placeholder, value] : kPlaceholders)
        filled.emplace_back(placeholder, values.*value);
    return filled;
}

std::string profileFileText(const ReceiptValues& values) {
    const std::pair<std::string_view, const std::string&> items[]{
        {"Kota", values.kota},
        {"Nama Perusahaan", values.namaPerusahaan},
        {"Deskripsi Perusahaan", values.deskripsiPerusahaan},
        {"Alamat Perusahaan", values.alamatPerusahaan},
        {"Nama Bank", values.namaBank},
        {"No. Rekening", values.acc},
        {"Atas Nama", values.atasNama},
        {"Nama Pimpinan", values.namaPimpinan}};
    std::string text;
    for (const auto& [label, value] : items) {
        text += label;
        text += ",\"";
        text += value;
        text += "\"\r\n";
    }
    return text;
}

} // namespace resipa::bench

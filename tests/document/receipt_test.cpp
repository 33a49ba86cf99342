#include "document/linefiller.h"
#include "document/receiptdate.h"
#include "document/rtf.h"

#include <cstdint>
#include <string>
#include <tuple>
#include <utility>

#include <gtest/gtest.h>

namespace resipa {
namespace {

using namespace std::string_literals;

TEST(ReceiptDateText, DayMonthNameYear) {
    std::string dates;
    for (int month = 1; month <= 12; ++month)
        dates += receiptDateText(month * 2, month, 2025 + month) + '|';
    EXPECT_EQ(dates, "2 Januari 2026|4 Februari 2027|6 Maret 2028|8 April 2029|10 Mei 2030|"
                     "12 Juni 2031|14 Juli 2032|16 Agustus 2033|18 September 2034|"
                     "20 Oktober 2035|22 November 2036|24 Desember 2037|");
    for (const std::int32_t outside : {0, 13, -1})
        EXPECT_EQ(NamaBulan(outside), "") << outside;
}

// Each value names the placeholder after its own, so one line fills through all fourteen, in
// order and each from its own field, while the placeholder before, already done, stays literal.
TEST(LineFiller, FourteenPlaceholdersInOrder) {
    const ReceiptValues values{
        .tanggal = "a[NOMOR_RESIPA]",
        .nomor = "b[TGL_RESIPA][KETERANGAN]",
        .keterangan = "c[NOMOR_RESIPA][JUMLAH]",
        .jumlah = "d[KETERANGAN][KOTA]",
        .kota = "e[JUMLAH][TERBILANG]",
        .terbilang = "f[KOTA][NAMA]",
        .nama = "g[TERBILANG][NAMA_PERUSAHAAN]",
        .namaPerusahaan = "h[NAMA][ALAMAT_PERUSAHAAN]",
        .alamatPerusahaan = "i[NAMA_PERUSAHAAN][DESCRIPSI_PERUSAHAAN]",
        .deskripsiPerusahaan = "j[ALAMAT_PERUSAHAAN][NAMA_PIMPINAN]",
        .namaPimpinan = "k[DESCRIPSI_PERUSAHAAN][NAMA_BANK]",
        .namaBank = "l[NAMA_PIMPINAN][ATAS_NAMA]",
        .atasNama = "m[NAMA_BANK][ACC]",
        .acc = "n[ATAS_NAMA]",
    };
    EXPECT_EQ(LineFiller(values).fill("<[TGL_RESIPA]>"),
              "<ab[TGL_RESIPA]c[NOMOR_RESIPA]d[KETERANGAN]e[JUMLAH]f[KOTA]g[TERBILANG]h[NAMA]"
              "i[NAMA_PERUSAHAAN]j[ALAMAT_PERUSAHAAN]k[DESCRIPSI_PERUSAHAAN]l[NAMA_PIMPINAN]"
              "m[NAMA_BANK]n[ATAS_NAMA]>");
}

TEST(LineFiller, Cases) {
    // kota, nama, template line, filled line
    const std::tuple<const char*, const char*, std::string, std::string> cases[] = {
        {"", "Budi", "[NAMA] dan [NAMA][NAMA]", "Budi dan BudiBudi"},
        {"", "Budi", "[nama] [Nama] [NA{\\b MA]} [NAMA", "[nama] [Nama] [NA{\\b MA]} [NAMA"},
        {"", "", "a[NAMA]b[KOTA]c", "abc"},
        {"", "x[NAMA]y", "[NAMA]", "x[NAMA]y"},
        {"[NA", "Budi", "x [KOTA]MA] y", "x Budi y"}, // value and template form a later one
        {"A]b", "Budi", "[NAM[KOTA] [KOTA]", "Budib A]b"},
        {"b[NA", "Budi", "[KOTA]MA]", "bBudi"},
        {"NAMA]", "Budi", "{[[KOTA]}", "{Budi}"},
        {"", "{\\b x} café", "[NAMA]", "\\{\\\\b x\\} caf{\\uc1\\u233 ?}"},
        {"", "Jo", "\xE9\0\xFF[NAMA]\\'e9"s, "\xE9\0\xFFJo\\'e9"s},
        // RTF syntax the template leaves open before a placeholder is closed first.
        {"", "12 Mei", "{\\b[NAMA]}", "{\\b 12 Mei}"},
        {"", " x", "\\fs-24[NAMA]", "\\fs-24  x"},
        {"", "{x", "\\b[NAMA]", "\\b \\{x"},
        {"", "", "\\fs24[NAMA]0 \\b[NAMA][KOTA] x", "\\fs24 0 \\b  x"},
        {"", "par", "a\\[NAMA] \\\\\\[NAMA]", "a\\[par \\\\\\[par"},
        {"", "41", "\\'[NAMA] \\'e[NAMA] \\'e9[NAMA] \\'\xF2[NAMA]",
         "\\'3f41 \\'e041 \\'e941 \\'\xF2"
         "041"},
        {"", "tf1", "\\'1\\\\\\\\d[NAMA] \\'1\\\\\\d[NAMA]", "\\'1\\\\\\\\d tf1 \\'1\\\\\\dtf1"},
        {"", "12", "\\\\b[NAMA] \\'e9[NAMA] \\par [NAMA]", "\\\\b12 \\'e912 \\par 12"},
    };
    for (const auto& [kota, nama, line, filled] : cases) {
        ReceiptValues values;
        values.kota = kota;
        values.nama = nama;
        EXPECT_EQ(LineFiller(values).fill(line), filled) << line;
    }
}

TEST(RtfSafe, Cases) {
    const std::string bad = "{\\uc1\\u-3 ?}"; // U+FFFD
    const std::pair<std::string, std::string> cases[] = {
        {"Budi, Rp.5 (lunas) [KOTA]", "Budi, Rp.5 (lunas) [KOTA]"},
        {"a\\par }{", "a\\\\par \\}\\{"},
        {"é", "{\\uc1\\u233 ?}"},
        {"\u7FFF\u8000", "{\\uc1\\u32767 ?}{\\uc1\\u-32768 ?}"}, // signed 16 bits
        {"😀", "{\\uc1\\u-10179 ?\\u-8704 ?}"},
        {"a\nb\r\nc\rd\r\n\r\n\n\r", "a\\line b\\line c\\line d\\line \\line \\line \\line "},
        {"a\tb", "a\\tab b"},
        {"a\0\x01\x1B\x7F"s + "b\xC2\x85\xC2\x9F" + "c", "abc"}, // control characters dropped
        // Ill-formed UTF-8: one U+FFFD for each maximal valid prefix.
        {"\x80 caf\xE9!", bad + " caf" + bad + "!"},
        {"\xE2\x82x", bad + "x"},
        {"\xC0\xAF", bad + bad},
        {"\xED\xA0\x80", bad + bad + bad},
        {"\xF4\x90\x80\x80", bad + bad + bad + bad},
    };
    for (const auto& [value, rtf] : cases)
        EXPECT_EQ(rtfSafe(value), rtf) << value;
}

} // namespace
} // namespace resipa

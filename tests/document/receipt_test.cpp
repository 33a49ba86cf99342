#include "document/receipt.h"
#include "document/templatelines.h"
#include "tests/document/memorystreams.h"

#include <cstdint>
#include <limits>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

namespace resipa {
namespace {

using namespace std::string_literals;

const NumberFormat kComma{",", "."};

TEST(ReceiptDateText, DayMonthNameYear) {
    const std::tuple<int, int, const char*> cases[] = {
        {1, 9, "9 Januari 2025"},   {5, 9, "9 Mei 2025"},
        {12, 9, "9 Desember 2025"}, {0, 9, "9  2025"},
        {13, 9, "9  2025"},         {std::numeric_limits<std::int32_t>::min(), 9, "9  2025"},
    };
    for (const auto& [month, day, text] : cases)
        EXPECT_EQ(receiptDateText(day, month, 2025), text);
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
    EXPECT_EQ(LineFiller(values, kComma).fill("<[TGL_RESIPA]>"),
              "<ab[TGL_RESIPA]c[NOMOR_RESIPA]Rp.d[KETERANGAN]e[JUMLAH]f[KOTA]g[TERBILANG]h[NAMA]"
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
        SCOPED_TRACE(line);
        ReceiptValues values;
        values.kota = kota;
        values.nama = nama;
        const LineFiller filler(values, kComma);
        EXPECT_EQ(filler.fill(line), filled);
        std::string reused = "baris sebelumnya";
        filler.fill(line, reused);
        EXPECT_EQ(reused, filled);
    }
}

TEST(LineFiller, JumlahIsRegroupedAfterRp) {
    const std::tuple<NumberFormat, const char*, const char*> cases[] = {
        {kComma, "1,500,000", "Rp.1,500,000"},
        {kComma, "12.5", "Rp.13"},
        {{".", ","}, "1234567", "Rp.1.234.567"},
        {kComma, "", "Rp."},
        {kComma, "{5}", "Rp.\\{5\\}"},
        {{"\u00A0", ","}, "1234", "Rp.1{\\uc1\\u160 ?}234"},
    };
    for (const auto& [format, jumlah, filled] : cases) {
        ReceiptValues values;
        values.jumlah = jumlah;
        EXPECT_EQ(LineFiller(values, format).fill("[JUMLAH]"), filled);
    }
}

// A template copied through reader, filler and writer a line at a time, and in pieces.
std::string copyFilled(const std::string& input, const LineFiller& filler, std::size_t buffer,
                       bool inPieces, int& pieces) {
    MemorySource source(input);
    MemorySink sink;
    TemplateLineReader reader(source, buffer);
    TemplateLineWriter writer(sink, buffer);
    std::string piece, filled;
    bool lineEnded = true;
    while ((inPieces ? reader.nextPiece(piece, lineEnded) : reader.next(piece)) ==
           TemplateLineReader::Status::Line) {
        filler.fill(piece, filled);
        EXPECT_TRUE(lineEnded ? writer.writeLine(filled) : writer.write(filled));
        pieces += !lineEnded;
    }
    EXPECT_TRUE(writer.flush());
    return sink.bytes;
}

TEST(LineFiller, FillingPiecesGivesWhatFillingLinesGives) {
    ReceiptValues values;
    values.nomor = "12/[KOTA]";
    values.jumlah = "1500000";
    values.kota = "[NA"; // with the template's "MA]" after it, forms a later placeholder
    values.nama = "Budi";
    values.namaPerusahaan = "1 {PT} A";
    const LineFiller filler(values, kComma);
    const std::string inputs[] = {
        "{\\rtf1 {\\b [NOMOR_RESIPA]} [KOTA]MA] [JUMLAH] {\\b[NAMA_PERUSAHAAN]}\n"
        "\\par [NAMA]\\line [nama] [NAMA_\nPIMPINAN] \\'e9[NAMA]}\n",
        "[NAMA][NAMA][KOTA]MA]\r\n\\fs24[NAMA] x\r[ACC] \\[NAMA]\\'[NAMA] \\'\xF2[NAMA]",
        std::string(3000, 'q') + " [NAMA] " + std::string(3000, 'Q') + "[NAMA]\n\n",
    };
    for (const std::string& input : inputs) {
        int pieces = 0;
        const std::string expected = copyFilled(input, filler, 65536, false, pieces);
        ASSERT_NE(expected.find("Budi"), std::string::npos);
        for (const std::size_t buffer : {1u, 2u, 3u, 5u, 8u, 13u}) {
            SCOPED_TRACE("buffer " + std::to_string(buffer));
            EXPECT_EQ(copyFilled(input, filler, buffer, true, pieces), expected);
        }
        EXPECT_GE(pieces, 6) << "a long line must come in pieces";
    }
}

} // namespace
} // namespace resipa

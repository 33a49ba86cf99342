#include "document/receipt.h"
#include "document/templatelines.h"
#include "tests/document/memorystreams.h"

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace resipa {
namespace {

using namespace std::string_literals;

const NumberFormat commaGrouping{",", "."};
const NumberFormat dotGrouping{".", ","};

struct MonthCase {
    std::int32_t number;
    const char* name;
};

class NamaBulanTest : public testing::TestWithParam<MonthCase> {};

TEST_P(NamaBulanTest, GivesTheMonthNameOrNothing) {
    const std::int32_t number = GetParam().number;
    EXPECT_EQ(NamaBulan(number), GetParam().name);
    EXPECT_EQ(number, GetParam().number) << "the month number must be left unchanged";
}

INSTANTIATE_TEST_SUITE_P(
    Months, NamaBulanTest,
    testing::Values(MonthCase{1, "Januari"}, MonthCase{2, "Februari"}, MonthCase{3, "Maret"},
                    MonthCase{4, "April"}, MonthCase{5, "Mei"}, MonthCase{6, "Juni"},
                    MonthCase{7, "Juli"}, MonthCase{8, "Agustus"}, MonthCase{9, "September"},
                    MonthCase{10, "Oktober"}, MonthCase{11, "November"}, MonthCase{12, "Desember"},
                    MonthCase{0, ""}, MonthCase{13, ""}, MonthCase{-1, ""}, MonthCase{-12, ""},
                    MonthCase{INT32_MIN, ""}, MonthCase{INT32_MAX, ""}));

TEST(ReceiptDateText, PlainDecimalDayMonthNameYear) {
    struct Case {
        int day, month, year;
        const char* text;
    };
    const Case cases[] = {{9, 5, 2025, "9 Mei 2025"},
                          {31, 12, 1999, "31 Desember 1999"},
                          {1, 1, 1601, "1 Januari 1601"},
                          {10, 10, 9999, "10 Oktober 9999"},
                          {5, 13, 2025, "5  2025"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(receiptDateText(c.day, c.month, c.year), c.text);
    }
}

using Field = std::string ReceiptValues::*;

struct PlaceholderCase {
    const char* placeholder;
    Field field;
};

// Every placeholder but "[JUMLAH]", which is regrouped and has cases of its own.
const PlaceholderCase plainPlaceholders[] = {
    {"[TGL_RESIPA]", &ReceiptValues::tanggal},
    {"[NOMOR_RESIPA]", &ReceiptValues::nomor},
    {"[KETERANGAN]", &ReceiptValues::keterangan},
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
};

TEST(LineFiller, EachPlaceholderTakesItsOwnFieldOnly) {
    for (const PlaceholderCase& target : plainPlaceholders) {
        SCOPED_TRACE(target.placeholder);
        ReceiptValues values;
        for (const PlaceholderCase& other : plainPlaceholders) {
            values.*other.field = "lain";
        }
        values.*target.field = "Isi";
        const LineFiller filler(values, commaGrouping);
        EXPECT_EQ(filler.fill("a "s + target.placeholder + " b"), "a Isi b");
    }
}

struct FillCase {
    const char* name;
    std::vector<std::pair<Field, std::string>> values;
    std::string line;
    std::string filled;
};

class LineFillerTest : public testing::TestWithParam<FillCase> {};

TEST_P(LineFillerTest, FillsTheLine) {
    const FillCase& c = GetParam();
    ReceiptValues values;
    for (const auto& [field, value] : c.values) {
        values.*field = value;
    }
    const LineFiller filler(values, commaGrouping);
    EXPECT_EQ(filler.fill(c.line), c.filled);
    std::string reused = "sisa baris sebelumnya";
    filler.fill(c.line, reused);
    EXPECT_EQ(reused, c.filled);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LineFillerTest,
    testing::Values(
        FillCase{"NoPlaceholder", {{&ReceiptValues::nama, "Budi"}}, "\\par Terima", "\\par Terima"},
        FillCase{"EmptyLine", {{&ReceiptValues::nama, "Budi"}}, "", ""},
        FillCase{"Twice", {{&ReceiptValues::nama, "Budi"}}, "[NAMA] dan [NAMA]", "Budi dan Budi"},
        FillCase{"Adjacent", {{&ReceiptValues::nama, "Budi"}}, "[NAMA][NAMA]", "BudiBudi"},
        FillCase{"LowercaseStaysLiteral",
                 {{&ReceiptValues::nama, "Budi"}},
                 "[nama] [Nama]",
                 "[nama] [Nama]"},
        FillCase{"EmptyValueDeletes", {}, "a[NAMA]b[KOTA]c", "abc"},
        FillCase{"BrokenPlaceholderStaysLiteral",
                 {{&ReceiptValues::nama, "Budi"}},
                 "[NA{\\b MA]} [NAMA",
                 "[NA{\\b MA]} [NAMA"},
        FillCase{"LaterPlaceholderInValueIsFilled",
                 {{&ReceiptValues::nomor, "No. [KOTA]"}, {&ReceiptValues::kota, "Bandung"}},
                 "[NOMOR_RESIPA]",
                 "No. Bandung"},
        FillCase{"EarlierPlaceholderInValueStaysLiteral",
                 {{&ReceiptValues::nomor, "17"}, {&ReceiptValues::kota, "[NOMOR_RESIPA]"}},
                 "[KOTA]",
                 "[NOMOR_RESIPA]"},
        FillCase{"OwnPlaceholderInValueStaysLiteral",
                 {{&ReceiptValues::nama, "x[NAMA]y"}},
                 "[NAMA]",
                 "x[NAMA]y"},
        FillCase{"ValueAndTemplateFormALaterPlaceholder",
                 {{&ReceiptValues::kota, "[NA"}, {&ReceiptValues::nama, "Budi"}},
                 "x [KOTA]MA] y",
                 "x Budi y"},
        FillCase{"TemplateAndValueFormALaterPlaceholder",
                 {{&ReceiptValues::kota, "NAMA]"}, {&ReceiptValues::nama, "Budi"}},
                 "{[[KOTA]}",
                 "{Budi}"},
        FillCase{"ChainThroughSeveralRows",
                 {{&ReceiptValues::tanggal, "[NAMA]"},
                  {&ReceiptValues::nama, "[ACC]"},
                  {&ReceiptValues::acc, "123"}},
                 "[TGL_RESIPA]",
                 "123"},
        FillCase{"ValueIsMadeRtfSafe",
                 {{&ReceiptValues::nama, "{\\b x} café"}},
                 "[NAMA]",
                 "\\{\\\\b x\\} caf{\\uc1\\u233 ?}"},
        FillCase{"TemplateBytesPassUntouched",
                 {{&ReceiptValues::nama, "Budi"}},
                 "\xE9\0\xFF[NAMA]\\'e9"s,
                 "\xE9\0\xFF"
                 "Budi\\'e9"s},
        FillCase{"ValueAfterControlWordIsDelimited",
                 {{&ReceiptValues::nama, "12 Mei"}},
                 "{\\b[NAMA]}",
                 "{\\b 12 Mei}"},
        FillCase{"ValueAfterControlWordWithNumber",
                 {{&ReceiptValues::nama, " x"}},
                 "\\fs-24[NAMA]",
                 "\\fs-24  x"},
        FillCase{"ControlWordDelimitedWhateverTheValue",
                 {{&ReceiptValues::nama, "{x"}},
                 "\\b[NAMA]",
                 "\\b \\{x"},
        FillCase{"EmptyValueAfterControlWordKeepsItsParameter",
                 {},
                 "\\fs24[NAMA]0 \\b[NAMA][KOTA] x",
                 "\\fs24 0 \\b  x"},
        FillCase{"LoneBackslashKeepsItsControlSymbol",
                 {{&ReceiptValues::nama, "par"}},
                 "a\\[NAMA] \\\\\\[NAMA]",
                 "a\\[par \\\\\\[par"},
        FillCase{"OpenHexEscapeCompleted",
                 {{&ReceiptValues::nama, "41"}},
                 "\\'[NAMA] \\'e[NAMA] \\'e9[NAMA] \\'\xF2[NAMA]",
                 "\\'3f41 \\'e041 \\'e941 \\'\xF2"
                 "041"},
        FillCase{"HexEscapeReadForwardsNotBackwards",
                 {{&ReceiptValues::nama, "tf1"}},
                 "\\'1\\\\\\\\d[NAMA] \\'1\\\\\\d[NAMA]",
                 "\\'1\\\\\\\\d tf1 \\'1\\\\\\dtf1"},
        FillCase{"EscapedBackslashIsNoControlWord",
                 {{&ReceiptValues::nama, "12"}},
                 "\\\\b[NAMA] \\'e9[NAMA] \\par [NAMA]",
                 "\\\\b12 \\'e912 \\par 12"}),
    [](const testing::TestParamInfo<FillCase>& info) { return info.param.name; });

struct JumlahCase {
    const char* name;
    std::string jumlah;
    NumberFormat format;
    std::string filled;
};

class LineFillerJumlah : public testing::TestWithParam<JumlahCase> {};

TEST_P(LineFillerJumlah, PutsRpBeforeTheRegroupedAmount) {
    const JumlahCase& c = GetParam();
    ReceiptValues values;
    values.jumlah = c.jumlah;
    const LineFiller filler(values, c.format);
    EXPECT_EQ(filler.fill("Jumlah: [JUMLAH]."), "Jumlah: " + c.filled + ".");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LineFillerJumlah,
    testing::Values(JumlahCase{"CommaGrouped", "1,500,000", commaGrouping, "Rp.1,500,000"},
                    JumlahCase{"CommaUngrouped", "1234567", commaGrouping, "Rp.1,234,567"},
                    JumlahCase{"CommaRounded", "12.5", commaGrouping, "Rp.13"},
                    JumlahCase{"DotGrouped", "1.500.000", dotGrouping, "Rp.1.500.000"},
                    JumlahCase{"DotUngrouped", "1234567", dotGrouping, "Rp.1.234.567"},
                    JumlahCase{"DotTrailingDecimal", "1.234,", dotGrouping, "Rp.1.234"},
                    JumlahCase{"Zero", "0", commaGrouping, "Rp.0"},
                    JumlahCase{"Empty", "", commaGrouping, "Rp."},
                    JumlahCase{"NotANumber", "abc", commaGrouping, "Rp.abc"},
                    JumlahCase{"NotANumberIsEscaped", "{5}", commaGrouping, "Rp.\\{5\\}"},
                    JumlahCase{"NoBreakSpaceGrouping", "1234", NumberFormat{"\xC2\xA0", ","},
                               "Rp.1{\\uc1\\u160 ?}234"}),
    [](const testing::TestParamInfo<JumlahCase>& info) { return info.param.name; });

// Copies a template through reader, filler and writer, a line or a piece at a time.
std::string copyFilled(const std::string& input, const LineFiller& filler, std::size_t bufferSize,
                       bool inPieces) {
    MemorySource source(input, 65536);
    LimitedSink sink;
    TemplateLineReader reader(source, bufferSize);
    TemplateLineWriter writer(sink, bufferSize);
    std::string piece;
    std::string filled;
    bool lineEnded = true;
    while ((inPieces ? reader.nextPiece(piece, lineEnded) : reader.next(piece)) ==
           TemplateLineReader::Status::Line) {
        filler.fill(piece, filled);
        EXPECT_TRUE(lineEnded ? writer.writeLine(filled) : writer.write(filled));
    }
    EXPECT_TRUE(writer.flush());
    return sink.received;
}

TEST(LineFiller, FillingPiecesGivesWhatFillingLinesGives) {
    ReceiptValues values;
    values.nomor = "12/[KOTA]";
    values.kota = "[NA"; // with the template's "MA]" after it, forms a later placeholder
    values.nama = "Budi";
    values.jumlah = "1500000";
    values.namaPerusahaan = "1 {PT} A";
    const LineFiller filler(values, commaGrouping);
    const std::string inputs[] = {
        "{\\rtf1 {\\b [NOMOR_RESIPA]} [KOTA]MA] [JUMLAH] {\\b[NAMA_PERUSAHAAN]}\n"
        "\\par [NAMA]\\line [nama] [NAMA_\nPIMPINAN] \\'e9[NAMA]}\n",
        "[NAMA][NAMA][KOTA]MA]\r\n\\fs24[NAMA] x\r[ACC] \\[NAMA]\\'[NAMA] \\'\xF2[NAMA]",
        std::string(3000, 'q') + " [NAMA] " + std::string(3000, 'Q') + "[NAMA]\n\n",
    };
    for (const std::string& input : inputs) {
        const std::string expected = copyFilled(input, filler, 65536, false);
        ASSERT_NE(expected.find("Budi"), std::string::npos);
        for (const std::size_t bufferSize : {1u, 2u, 3u, 5u, 8u, 13u}) {
            SCOPED_TRACE("buffer " + std::to_string(bufferSize));
            EXPECT_EQ(copyFilled(input, filler, bufferSize, true), expected);
        }
    }
}

} // namespace
} // namespace resipa

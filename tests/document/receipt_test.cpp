#include "document/receipt.h"
#include "document/utf8.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <unistd.h>
#include <utility>

#include <gtest/gtest.h>

namespace resipa {
namespace {

using namespace std::string_literals;

const NumberFormat kComma{",", "."};

TEST(ReceiptDateText, DayMonthNameYear) {
    EXPECT_EQ(receiptDateText(9, 1, 2025), "9 Januari 2025");
    EXPECT_EQ(receiptDateText(31, 12, 1999), "31 Desember 1999");
    EXPECT_EQ(receiptDateText(9, 13, 2025), "9  2025");
    EXPECT_EQ(NamaBulan(std::numeric_limits<std::int32_t>::min()), "");
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
        ReceiptValues values;
        values.kota = kota;
        values.nama = nama;
        EXPECT_EQ(LineFiller(values, kComma).fill(line), filled) << line;
    }
}

TEST(LineFiller, JumlahIsRegroupedAfterRp) {
    const auto filled = [](const char* jumlah, const NumberFormat& format) {
        ReceiptValues values;
        values.jumlah = jumlah;
        return LineFiller(values, format).fill("[JUMLAH]");
    };
    EXPECT_EQ(filled("1234567.5", kComma), "Rp.1,234,568");
    EXPECT_EQ(filled("1234567", {".", ","}), "Rp.1.234.567");
    EXPECT_EQ(filled("1234", {"\u00A0", ","}), "Rp.1{\\uc1\\u160 ?}234");
    EXPECT_EQ(filled("{5}", kComma), "Rp.\\{5\\}");
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

// unrtf's HTML as UTF-8: its entities decoded (one it is not listed here fails the test), the
// halves of a surrogate pair joined.
std::string fromHtml(const std::string& html) {
    const std::map<std::string, char32_t> named{{"amp", '&'},  {"lt", '<'},      {"gt", '>'},
                                                {"quot", '"'}, {"eacute", 0xE9}, {"euro", 0x20AC}};
    std::string text;
    char32_t high = 0;
    for (std::size_t pos = 0; pos < html.size(); ++pos) {
        const std::size_t end = html.find(';', pos);
        if (html[pos] != '&' || end == std::string::npos) {
            text += html[pos];
            continue;
        }
        const std::string entity = html.substr(pos + 1, end - pos - 1);
        pos = end;
        const auto c = static_cast<char32_t>(entity[0] == '#' ? std::stoul(entity.substr(1))
                                                              : named.at(entity));
        if (c >= 0xD800 && c < 0xDC00)
            high = c;
        else if (c >= 0xDC00 && c < 0xE000)
            appendUtf8(text, 0x10000 + ((high - 0xD800) << 10) + (c - 0xDC00));
        else
            appendUtf8(text, c);
    }
    return text;
}

// Filled template lines read by a real RTF reader show each value exactly as typed.
TEST(RtfSafe, RealReaderShowsTheValues) {
    if (std::system("command -v unrtf > /dev/null") != 0)
        GTEST_SKIP() << "unrtf is not installed";
    // template line, value, what the reader shows
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"[NAMA]", "{\\b x} café € 東京", "{\\b x} café € 東京"},
        {"[NAMA]", "\\par }}{x a&b<c> C:\\", "\\par }}{x a&b<c> C:\\"},
        {"[NAMA]", "x😀y", "x😀y"},
        {"{\\uc0 [NAMA]}{\\uc2 [NAMA]}", "é€", "é€é€"},
        {"[NAMA]", "Jl. Merdeka 1\r\nBandung", "Jl. Merdeka 1<br>Bandung"},
        {"{\\b[NAMA]}", "12 Mei", "<b>12 Mei</b>"},
    };
    std::string document = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}\r\n";
    for (const auto& [line, value, shown] : cases) {
        ReceiptValues values;
        values.nama = value;
        document += LineFiller(values, {",", "."}).fill("\\pard AWAL" + line + "AKHIR\\par\r\n");
    }
    const std::string path = testing::TempDir() + "resipa-rtf-" + std::to_string(::getpid());
    const std::unique_ptr<const char, int (*)(const char*)> removeAtEnd(path.c_str(), std::remove);
    std::ofstream(path, std::ios::binary) << document << "}\r\n";
    FILE* unrtf = ::popen(("unrtf --html '" + path + "' 2>/dev/null").c_str(), "r");
    ASSERT_NE(unrtf, nullptr);
    std::string html;
    for (int c; (c = std::fgetc(unrtf)) != EOF;)
        if (c != '\n')
            html += static_cast<char>(c);
    ASSERT_EQ(::pclose(unrtf), 0);

    std::size_t pos = 0;
    for (const auto& [line, value, shown] : cases) {
        const std::size_t begin = html.find("AWAL", pos), end = html.find("AKHIR", begin);
        ASSERT_NE(end, std::string::npos) << html;
        EXPECT_EQ(fromHtml(html.substr(begin + 4, end - begin - 4)), shown) << document;
        pos = end;
    }
}

} // namespace
} // namespace resipa

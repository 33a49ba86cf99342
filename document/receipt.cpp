#include "document/receipt.h"

#include "document/rtfsyntax.h"

#include <algorithm>
#include <array>

namespace resipa {

namespace {

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

// True when the backslashes ending just before end are an odd run: the last one is not itself
// escaped and opens a control word or symbol.
bool oddBackslashesBefore(std::string_view text, std::size_t end) {
    std::size_t backslashes = 0;
    while (end > 0 && text[end - 1] == '\\') {
        ++backslashes;
        --end;
    }
    return backslashes % 2 == 1;
}

// True when the text ends in an RTF control word ("\b", "\fs24", "\li-5"): an unescaped
// backslash, letters, and an optional signed number.
bool endsInControlWord(std::string_view text) {
    std::size_t i = text.size();
    while (i > 0 && isAsciiDigit(text[i - 1])) {
        --i;
    }
    if (i > 0 && text[i - 1] == '-') {
        --i;
    }
    const std::size_t lettersEnd = i;
    while (i > 0 && isAsciiLetter(text[i - 1])) {
        --i;
    }
    return i < lettersEnd && oddBackslashesBefore(text, i);
}

// A placeholder may stand where the template's own RTF syntax is still open: straight after a
// control word ("\b[NAMA]"), a lone backslash ("\[NAMA]") or a hex escape short of its two
// digits ("\'[NAMA]"). Whatever followed there (a value, or the template's next bytes once an
// empty value deleted the placeholder) would lengthen or complete that syntax. It is closed first,
// the same way whatever the value: a delimiting space; the placeholder's own "[", keeping the
// control symbol the template wrote; the missing hex digits.
std::string_view openSyntaxCloser(std::string_view text) {
    const std::size_t size = text.size();
    if (size >= 2 && text[size - 1] == '\'' && oddBackslashesBefore(text, size - 1)) {
        return "3f";
    }
    if (size >= 3 && text[size - 2] == '\'' && oddBackslashesBefore(text, size - 2)) {
        return "0";
    }
    if (oddBackslashesBefore(text, size)) {
        return "[";
    }
    return endsInControlWord(text) ? " " : "";
}

void appendValue(std::string& out, const std::string& value) {
    out += openSyntaxCloser(out);
    out += value;
}

} // namespace

std::string NamaBulan(const std::int32_t& bulan) {
    static constexpr std::array<const char*, 12> names = {
        "Januari", "Februari", "Maret",     "April",   "Mei",      "Juni",
        "Juli",    "Agustus",  "September", "Oktober", "November", "Desember"};
    if (bulan < 1 || bulan > 12) {
        return {};
    }
    return names[static_cast<std::size_t>(bulan - 1)];
}

std::string receiptDateText(int day, int month, int year) {
    const std::int32_t bulan = month;
    return std::to_string(day) + ' ' + NamaBulan(bulan) + ' ' + std::to_string(year);
}

LineFiller::LineFiller(const ReceiptValues& values, const NumberFormat& format)
    : m_replacements{
          {"[TGL_RESIPA]", rtfSafe(values.tanggal)},
          {"[NOMOR_RESIPA]", rtfSafe(values.nomor)},
          {"[KETERANGAN]", rtfSafe(values.keterangan)},
          {"[JUMLAH]", "Rp." + rtfSafe(regroup(values.jumlah, format))},
          {"[KOTA]", rtfSafe(values.kota)},
          {"[TERBILANG]", rtfSafe(values.terbilang)},
          {"[NAMA]", rtfSafe(values.nama)},
          {"[NAMA_PERUSAHAAN]", rtfSafe(values.namaPerusahaan)},
          {"[ALAMAT_PERUSAHAAN]", rtfSafe(values.alamatPerusahaan)},
          {"[DESCRIPSI_PERUSAHAAN]", rtfSafe(values.deskripsiPerusahaan)},
          {"[NAMA_PIMPINAN]", rtfSafe(values.namaPimpinan)},
          {"[NAMA_BANK]", rtfSafe(values.namaBank)},
          {"[ATAS_NAMA]", rtfSafe(values.atasNama)},
          {"[ACC]", rtfSafe(values.acc)},
      } {}

void LineFiller::fillPiece(std::string& text, std::string& scratch) const {
    for (const Replacement& replacement : m_replacements) {
        const std::string_view placeholder = replacement.placeholder;
        std::size_t pos = text.find(placeholder);
        if (pos == std::string::npos) {
            continue;
        }
        scratch.clear();
        std::size_t from = 0;
        // Searching the text before this replacement, never the inserted values, keeps a
        // value holding its own placeholder literal.
        do {
            scratch.append(text, from, pos - from);
            appendValue(scratch, replacement.value);
            from = pos + placeholder.size();
            pos = text.find(placeholder, from);
        } while (pos != std::string::npos);
        scratch.append(text, from);
        text.swap(scratch);
    }
}

void LineFiller::fill(std::string_view line, std::string& out) const {
    out.clear();
    // The chain of replacements only ever touches the stretch between the cut points around a
    // "[" (see isCutPoint), so each such stretch is filled on its own and the rest of the line,
    // most of it, is copied once.
    std::string piece;
    std::string scratch;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t open = line.find('[', pos);
        if (open == std::string_view::npos) {
            out.append(line.substr(pos));
            return;
        }
        std::size_t begin = open;
        while (begin > pos && !isCutPoint(line, begin)) {
            --begin;
        }
        std::size_t end = open + 1;
        while (end < line.size() && !isCutPoint(line, end)) {
            ++end;
        }
        out.append(line.substr(pos, begin - pos));
        piece.assign(line.substr(begin, end - begin));
        fillPiece(piece, scratch);
        out.append(piece);
        pos = end;
    }
}

std::string LineFiller::fill(std::string_view line) const {
    std::string out;
    fill(line, out);
    return out;
}

} // namespace resipa

#include "bench/templategen.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <span>
#include <string_view>
#include <utility>

namespace resipa::bench {
namespace {

using namespace std::string_view_literals;

// What a word processor writes before the logo: tables, the page, the first paragraph.
constexpr std::array kHead{
    R"({\rtf1\ansi\ansicpg1252\deff0\nouicompat\deflang1057{\fonttbl{\f0\fswiss\fprq2\fcharset0 Arial;}{\f1\froman\fprq2\fcharset0 Times New Roman;}{\f2\fnil\fcharset0 Tahoma;}})"sv,
    R"({\colortbl ;\red128\green0\blue0;\red0\green0\blue192;\red90\green90\blue90;\red235\green235\blue235;})"sv,
    R"({\*\generator Riched20 10.0.19041}\viewkind4\uc1 )"sv,
    R"(\paperw11906\paperh8419\margl1134\margr1134\margt851\margb851 )"sv,
    R"(\pard\widctlpar\sa120\qc\f0\fs20\lang1057{\pict{\*\picprop}\wmetafile8\picw2117\pich794\picwgoal1200\pichgoal450 )"sv,
};

// What follows the logo: the receipt itself.
constexpr std::array kBody{
    R"(}\par)"sv,
    R"(\pard\widctlpar\qc\cf1\b\fs32 [NAMA_PERUSAHAAN]\cf0\b0\fs20\par)"sv,
    R"(\i\cf3 [DESCRIPSI_PERUSAHAAN]\i0\cf0\par)"sv,
    R"(\brdrb\brdrs\brdrw15\brsp40 [ALAMAT_PERUSAHAAN]\par)"sv,
    R"(\pard\widctlpar\sb240\sa240\qc\cf1\b\fs40\expndtw60 KWITANSI\expndtw0\cf0\b0\fs20\par)"sv,
    R"(\pard\widctlpar\tqr\tx9638 No. Kwitansi: \b [NOMOR_RESIPA]\b0\tab Tanggal: \b [TGL_RESIPA]\b0\par)"sv,
    R"(\trowd\trgaph80\trleft0\cellx2600\cellx2900\clbrdrb\brdrdot\brdrw10\cellx9638 )"sv,
    R"(\pard\intbl\widctlpar\sb120 Telah terima dari\cell :\cell\b [NAMA]\b0\cell\row )"sv,
    R"(\trowd\trgaph80\trleft0\cellx2600\cellx2900\clcbpat4\clbrdrb\brdrdot\brdrw10\cellx9638 )"sv,
    R"(\pard\intbl\widctlpar\sb120 Uang sejumlah\cell :\cell\b\i [TERBILANG]\b0\i0\cell\row )"sv,
    R"(\trowd\trgaph80\trleft0\cellx2600\cellx2900\clbrdrb\brdrdot\brdrw10\cellx9638 )"sv,
    R"(\pard\intbl\widctlpar\sb120 Untuk pembayaran\cell :\cell [KETERANGAN]\cell\row )"sv,
    R"(\pard\widctlpar\sa120\par)"sv,
    R"(\trowd\trgaph80\trleft0\cellx5400\cellx5800\cellx9638 )"sv,
    R"(\pard\intbl\widctlpar\cell\cell\qc [KOTA], [TGL_RESIPA]\cell\row )"sv,
    R"(\trowd\trgaph80\trleft0\trrh600\clvertalc\clcbpat4\clbrdrt\brdrs\brdrw20\clbrdrl\brdrs\brdrw20\clbrdrb\brdrs\brdrw20\clbrdrr\brdrs\brdrw20\cellx5400\cellx5800\cellx9638 )"sv,
    R"(\pard\intbl\widctlpar\b\fs28 Jumlah\tab [JUMLAH]\b0\fs20\cell\cell\qc Yang menerima,\cell\row )"sv,
    R"(\trowd\trgaph80\trleft0\clvertalb\cellx5400\cellx5800\clvertalb\cellx9638 )"sv,
    R"(\pard\intbl\widctlpar\sb160\fs18 Pembayaran dapat ditransfer ke \b [NAMA_BANK]\b0\line No. Rek. \b [ACC]\b0\line a.n. \b [ATAS_NAMA]\b0\cell\cell\qc\sb1000\fs20\b\ul [NAMA_PIMPINAN]\b0\ulnone\line Pimpinan\cell\row )"sv,
    R"(\pard\widctlpar\sb240\i\cf3\fs16 Kwitansi ini sah bila ditandatangani dan dibubuhi cap perusahaan.\i0\cf0\fs20\par)"sv,
    R"(})"sv,
};

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kHexPerLine = 128; // what editors write per line of picture data
constexpr std::size_t kHexLineBytes = kHexPerLine + kLineEnd.size();

std::size_t linesBytes(const auto& lines) {
    std::size_t total = 0;
    for (const std::string_view line : lines)
        total += line.size() + kLineEnd.size();
    return total;
}

// Bytes that @p hexDigits picture digits take with their line ends.
std::size_t hexAreaBytes(std::size_t hexDigits) {
    const std::size_t lines = (hexDigits + kHexPerLine - 1) / kHexPerLine;
    return hexDigits + lines * kLineEnd.size();
}

// Picture bytes that do not repeat, so nothing downstream can profit from a pattern; the
// first ones are a metafile header as a real logo has.
class PictureBytes {
public:
    std::uint8_t next() {
        if (m_index < kHeader.size())
            return kHeader[m_index++];
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return static_cast<std::uint8_t>(m_state >> 32);
    }

private:
    static constexpr std::array<std::uint8_t, 8> kHeader{0x01, 0x00, 0x09, 0x00,
                                                         0x00, 0x03, 0x6e, 0x12};
    std::size_t m_index = 0;
    std::uint64_t m_state = 0x9e3779b97f4a7c15ULL;
};

// Picture data as hex digits; an odd count leaves a blank instead of half a byte.
void appendHexDigits(std::string& out, PictureBytes& picture, std::size_t digits) {
    static constexpr std::string_view kHexDigits = "0123456789abcdef";
    for (std::size_t i = 0; i + 1 < digits; i += 2) {
        const std::uint8_t byte = picture.next();
        out += kHexDigits[byte >> 4];
        out += kHexDigits[byte & 0x0f];
    }
    if (digits % 2 != 0)
        out += ' ';
}

} // namespace

std::size_t minimumTemplateBytes() {
    return linesBytes(kHead) + linesBytes(kBody);
}

bool writeReceiptTemplate(const std::string& path, std::size_t totalBytes, TemplateShape shape) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file)
        return false;

    // A dense template repeats the receipt (all but the document's closing brace) and opens the
    // next picture, the head's last line, after every kDenseHexLines lines of picture data.
    const auto receiptAgain = std::span(kBody).first(kBody.size() - 1);
    const auto pictureAgain = std::span(kHead).last(1);
    const std::size_t repeatBytes =
        kDenseHexLines * kHexLineBytes + linesBytes(receiptAgain) + linesBytes(pictureAgain);
    const std::size_t fixed = minimumTemplateBytes();
    std::size_t room = totalBytes > fixed ? totalBytes - fixed : 0;
    const std::size_t repeats = shape == TemplateShape::Dense ? room / repeatBytes : 0;
    room -= repeats * repeatBytes;
    // The picture's digits and the line they are cut into; the hostile shapes fill one line of
    // their own before the closing brace. Blanks, which RTF ignores there, make the size exact.
    std::size_t hexDigits = 0;
    std::size_t perLine = kHexPerLine;
    std::size_t padding = room;
    std::string_view unit;
    if (shape == TemplateShape::Logo || shape == TemplateShape::Dense) {
        hexDigits = room / kHexLineBytes * kHexPerLine;
        while (hexAreaBytes(hexDigits + 1) <= room)
            ++hexDigits;
        padding = room - hexAreaBytes(hexDigits);
    } else if (room > kLineEnd.size()) {
        padding = 0;
        if (shape == TemplateShape::HexLine)
            hexDigits = perLine = room - kLineEnd.size();
        else
            unit = shape == TemplateShape::Brackets ? "["sv : "[NAMA]"sv;
    }

    std::string chunk;
    constexpr std::size_t kChunkBytes = 1 << 20;
    chunk.reserve(kChunkBytes + kHexLineBytes);
    const auto spill = [&](bool always) {
        if (always || chunk.size() >= kChunkBytes) {
            file.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
            chunk.clear();
        }
    };
    const auto appendLines = [&](const auto& lines) {
        for (const std::string_view line : lines) {
            chunk += line;
            chunk += kLineEnd;
        }
    };

    appendLines(kHead);
    PictureBytes picture;
    for (std::size_t repeat = 0; repeat < repeats; ++repeat) {
        for (std::size_t line = 0; line < kDenseHexLines; ++line) {
            appendHexDigits(chunk, picture, kHexPerLine);
            chunk += kLineEnd;
        }
        appendLines(receiptAgain);
        appendLines(pictureAgain);
        spill(false);
    }
    for (std::size_t written = 0; written < hexDigits;) {
        const std::size_t lineDigits = std::min(perLine, hexDigits - written);
        for (std::size_t part = 0; part < lineDigits; part += kHexPerLine) {
            appendHexDigits(chunk, picture, std::min(kHexPerLine, lineDigits - part));
            spill(false);
        }
        chunk += kLineEnd;
        written += lineDigits;
    }
    chunk.append(padding, ' ');
    appendLines(std::span(kBody).first(kBody.size() - 1));
    if (!unit.empty()) {
        const std::size_t line = room - kLineEnd.size();
        for (std::size_t i = 0; i + unit.size() <= line; i += unit.size()) {
            chunk += unit;
            spill(false);
        }
        chunk.append(line % unit.size(), ' ');
        chunk += kLineEnd;
    }
    appendLines(std::span(kBody).last(1));
    spill(true);
    file.flush();
    return static_cast<bool>(file);
}

TemplateSampleLines sampleTemplateLines() {
    TemplateSampleLines samples;
    for (const std::string_view line : kHead)
        samples.withoutPlaceholders.emplace_back(line);
    for (const std::string_view line : kBody)
        (line.find('[') == std::string_view::npos ? samples.withoutPlaceholders
                                                  : samples.withPlaceholders)
            .emplace_back(line);
    // Picture data, the bulk of a template with a logo.
    PictureBytes picture;
    for (int line = 0; line < 8; ++line) {
        std::string hexLine;
        appendHexDigits(hexLine, picture, kHexPerLine);
        samples.withoutPlaceholders.push_back(std::move(hexLine));
    }
    return samples;
}

} // namespace resipa::bench

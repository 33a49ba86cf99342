#include "document/templatelines.h"

#include "document/receiptvalues.h"
#include "document/rtfsyntax.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace resipa {

namespace {

// Shown when a source or sink fails without saying why: the operator always gets a cause.
constexpr const char* readFailedText = "Gagal membaca template.";
constexpr const char* writeFailedText = "Gagal menulis dokumen.";
constexpr const char* readOverrunText =
    "Sumber template memberikan lebih banyak data dari yang diminta.";

Failure describedOr(Failure failure, const char* fallback) {
    if (failure.text.empty())
        failure.text = fallback;
    return failure;
}

// The last position in text, not before from, where a piece may end, or npos.
std::size_t findPieceCut(std::string_view text, std::size_t from) {
    for (std::size_t cut = text.size() - 1; cut >= from && cut > 0; --cut) {
        if (isCutPoint(text, cut)) {
            return cut;
        }
    }
    return std::string_view::npos;
}

// A line runs on this far without a cut point before it is cut all the same. Short of that,
// chains of replacements ("[KOTA]MA]" with "[NA" for the city) fill as in the whole line too.
constexpr std::size_t kLeastForcedPiece = 4096;

// True when a placeholder may stand across a cut just before pos: the text from the last "["
// before the cut on, with the byte after the cut, begins a placeholder; at the end of the text,
// that text could still grow into one.
bool placeholderAcross(std::string_view text, std::size_t pos) {
    const std::size_t from = pos > kLongestPlaceholder ? pos - kLongestPlaceholder : 0;
    const std::size_t open = text.substr(from, pos - from).rfind('[');
    if (open == std::string_view::npos) {
        return false;
    }
    // A whole placeholder before the cut ends there; one with the next byte is a prefix.
    const std::string_view begun = text.substr(from + open, pos - from - open);
    if (pos < text.size()) {
        return placeholdersBegunBy(text.substr(from + open, pos + 1 - from - open)) != 0;
    }
    return placeholdersBegunBy(begun) != 0 && begun.back() != ']';
}

// Syntax a byte leaves open whatever came before it: the two bytes before the cut show that
// no control word or escape runs on ("[[", "x]", "a b", a digit then a letter, as in picture
// data); anything else needs the text read from its start.
bool closesSyntax(std::string_view text, std::size_t pos) {
    const char c = text[pos - 1];
    const char before = pos >= 2 ? text[pos - 2] : ' ';
    if (before == '\\' || before == '\'') {
        return false;
    }
    if (isAsciiLetter(c)) {
        return isAsciiDigit(before);
    }
    return !isAsciiDigit(c) && c != '-' && c != '\\' && c != '\'';
}

// Where a line that holds no cut point is cut all the same, so that a piece stays bounded
// whatever its bytes (picture data as one line, runs of "[" or of placeholders): the last
// position at which the text, read from the piece's start (where nothing is open), leaves no
// RTF syntax open and no placeholder can stand across. Only a run that is no syntax a reader
// knows (a control word of thousands of letters) has none; it is cut before the tail that
// could still begin a placeholder.
std::size_t findForcedCut(std::string_view text) {
    constexpr std::size_t kLookBack = 64;
    for (std::size_t pos = text.size(); pos > 1 && pos + kLookBack > text.size(); --pos) {
        if (closesSyntax(text, pos) && !placeholderAcross(text, pos)) {
            return pos;
        }
    }
    std::size_t cut = 0;
    SyntaxState state = SyntaxState::Text;
    for (std::size_t pos = 1; pos <= text.size(); ++pos) {
        state = nextSyntaxState(state, text[pos - 1]);
        if (state == SyntaxState::Text && !placeholderAcross(text, pos)) {
            cut = pos;
        }
    }
    if (cut == 0) {
        cut = text.size();
        while (cut > 1 && placeholderAcross(text, cut)) {
            --cut;
        }
    }
    return cut;
}

} // namespace

TemplateLineReader::TemplateLineReader(ByteSource& source, std::size_t bufferSize)
    : m_source(source)
    , m_buffer(std::max<std::size_t>(bufferSize, 1)) {}

bool TemplateLineReader::fill() {
    if (m_eof || m_failure) {
        return false;
    }
    const Result<std::size_t> count = m_source.read(m_buffer.data(), m_buffer.size());
    if (!count) {
        m_failure = describedOr(count.failure(), readFailedText);
        return false;
    }
    if (*count > m_buffer.size()) {
        m_failure = Failure{readOverrunText};
        return false;
    }
    if (*count == 0) {
        m_eof = true;
        return false;
    }
    m_offset += m_end;
    m_begin = 0;
    m_end = *count;
    m_data = m_source.dataAfter(m_offset);
    return true;
}

bool TemplateLineReader::dropPendingLf() {
    // A CR that ended the previous line was the last byte of its chunk: an LF opening the next
    // chunk belongs to that terminator.
    if (m_skipLeadingLf && m_begin < m_end) {
        m_skipLeadingLf = false;
        if (m_buffer[m_begin] == '\n') {
            ++m_begin;
            return true;
        }
    }
    return false;
}

bool TemplateLineReader::atEnd() {
    for (;;) {
        if (m_failure) {
            return true;
        }
        if (m_midLine) {
            return false;
        }
        if (m_begin == m_end && !fill()) {
            return true;
        }
        if (!dropPendingLf()) {
            return false;
        }
    }
}

Result<bool> TemplateLineReader::next(std::string& line) {
    line.clear();
    for (;;) {
        const Result<bool> got = read(m_piece, std::string::npos);
        if (!got || !*got) {
            return got;
        }
        line += m_piece.bytes;
        if (m_piece.lineEnded) {
            return true;
        }
    }
}

Result<bool> TemplateLineReader::nextPiece(TemplatePiece& piece) {
    return read(piece, m_buffer.size());
}

Result<bool> TemplateLineReader::read(TemplatePiece& piece, std::size_t pieceLimit) {
    std::string& out = piece.bytes;
    out.clear();
    out.swap(m_carry);
    bool started = m_midLine || !out.empty();
    m_midLine = false;
    piece.lineEnded = false;
    piece.data = false;
    std::size_t cutSearchFrom = std::max<std::size_t>(out.size(), 1);
    for (;;) {
        if (m_begin == m_end && !fill()) {
            if (m_failure) {
                return *m_failure;
            }
            piece.lineEnded = true;
            return started;
        }
        if (dropPendingLf()) {
            continue;
        }
        // The source's data comes as a piece of its own, after the text before it. The source
        // knows all of it among the bytes read: it is asked again once a stretch is passed.
        std::size_t textEnd = m_end;
        if (m_data && m_data->end <= bytesTaken()) {
            m_data = m_source.dataAfter(bytesTaken());
        }
        if (const std::optional<ByteStretch>& data = m_data;
            data && data->begin < m_offset + m_end) {
            if (data->begin > bytesTaken()) {
                textEnd = static_cast<std::size_t>(data->begin - m_offset);
            } else if (out.empty()) {
                const auto dataEnd =
                    static_cast<std::size_t>(std::min<std::uint64_t>(data->end - m_offset, m_end));
                out.assign(m_buffer.data() + m_begin, dataEnd - m_begin);
                m_begin = dataEnd;
                m_midLine = true;
                piece.data = true;
                return true;
            } else {
                m_midLine = true;
                return true;
            }
        }
        const char* chunk = m_buffer.data() + m_begin;
        const std::size_t available = textEnd - m_begin;
        const void* cr = std::memchr(chunk, '\r', available);
        if (cr != nullptr) {
            const auto length = static_cast<std::size_t>(static_cast<const char*>(cr) - chunk);
            out.append(chunk, length);
            m_begin += length + 1;
            m_skipLeadingLf = true;
            dropPendingLf();
            piece.lineEnded = true;
            return true;
        }
        out.append(chunk, available);
        m_begin = textEnd;
        started = true;
        if (out.size() >= pieceLimit) {
            // Cut points in the carried bytes were all passed over before; one further back
            // than a forced piece is not worth a search through picture data.
            std::size_t cut = findPieceCut(
                out, std::max(cutSearchFrom, out.size() - std::min(out.size(), kLeastForcedPiece)));
            if (cut == std::string::npos && out.size() >= kLeastForcedPiece) {
                cut = findForcedCut(out);
            }
            if (cut == std::string::npos) {
                cutSearchFrom = out.size();
                continue;
            }
            m_carry.assign(out, cut);
            out.resize(cut);
            m_midLine = true;
            return true;
        }
    }
}

TemplateLineWriter::TemplateLineWriter(ByteSink& sink, std::size_t bufferSize)
    : m_sink(sink)
    , m_buffer(std::max<std::size_t>(bufferSize, 1)) {}

Result<> TemplateLineWriter::writeLine(std::string_view line) {
    if (Result<> written = write(line); !written) {
        return written;
    }
    return append("\r\n", 2);
}

Result<> TemplateLineWriter::write(std::string_view bytes) {
    return append(bytes.data(), bytes.size());
}

Result<> TemplateLineWriter::append(const char* data, std::size_t size) {
    if (m_failure) {
        return *m_failure;
    }
    if (size > m_buffer.size() - m_used) {
        if (Result<> flushed = flush(); !flushed) {
            return flushed;
        }
        if (size >= m_buffer.size()) {
            // Too long to be worth copying: hand it over as it is.
            return sinkWrite(data, size);
        }
    }
    std::memcpy(m_buffer.data() + m_used, data, size);
    m_used += size;
    return {};
}

Result<> TemplateLineWriter::flush() {
    if (m_failure) {
        return *m_failure;
    }
    const std::size_t used = std::exchange(m_used, 0);
    return used == 0 ? Result<>() : sinkWrite(m_buffer.data(), used);
}

Result<> TemplateLineWriter::sinkWrite(const char* data, std::size_t size) {
    if (Result<> written = m_sink.write(data, size); !written) {
        // Sticky: once bytes are lost the document is broken, so nothing after may succeed.
        m_failure = describedOr(written.failure(), writeFailedText);
        return *m_failure;
    }
    return {};
}

} // namespace resipa

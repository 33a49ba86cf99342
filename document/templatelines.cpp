#include "document/templatelines.h"

#include "document/rtfsyntax.h"

#include <algorithm>
#include <cstring>

namespace resipa {

namespace {

// Shown when a source or sink fails without saying why: the operator always gets a cause.
constexpr const char* readFailedText = "Gagal membaca template.";
constexpr const char* writeFailedText = "Gagal menulis dokumen.";
constexpr const char* readOverrunText =
    "Sumber template memberikan lebih banyak data dari yang diminta.";

// The last position in text, not before from, where a piece may end, or npos.
std::size_t findPieceCut(std::string_view text, std::size_t from) {
    for (std::size_t cut = text.size() - 1; cut >= from && cut > 0; --cut) {
        if (isCutPoint(text, cut)) {
            return cut;
        }
    }
    return std::string_view::npos;
}

} // namespace

TemplateLineReader::TemplateLineReader(ByteSource& source, std::size_t bufferSize)
    : m_source(source)
    , m_buffer(std::max<std::size_t>(bufferSize, 1)) {}

bool TemplateLineReader::fill() {
    if (m_eof || m_failed) {
        return false;
    }
    const long long count = m_source.read(m_buffer.data(), m_buffer.size());
    if (count < 0 || static_cast<unsigned long long>(count) > m_buffer.size()) {
        m_failed = true;
        m_overrun = count > 0;
        return false;
    }
    if (count == 0) {
        m_eof = true;
        return false;
    }
    m_begin = 0;
    m_end = static_cast<std::size_t>(count);
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
        if (m_failed) {
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

TemplateLineReader::Status TemplateLineReader::next(std::string& line) {
    bool lineEnded = false;
    return read(line, std::string::npos, lineEnded);
}

TemplateLineReader::Status TemplateLineReader::nextPiece(std::string& piece, bool& lineEnded) {
    return read(piece, m_buffer.size(), lineEnded);
}

TemplateLineReader::Status TemplateLineReader::read(std::string& out, std::size_t pieceLimit,
                                                    bool& lineEnded) {
    out.clear();
    out.swap(m_carry);
    bool started = m_midLine || !out.empty();
    m_midLine = false;
    std::size_t cutSearchFrom = std::max<std::size_t>(out.size(), 1);
    for (;;) {
        if (m_begin == m_end && !fill()) {
            if (m_failed) {
                return Status::Error;
            }
            lineEnded = true;
            return started ? Status::Line : Status::End;
        }
        if (dropPendingLf()) {
            continue;
        }
        const char* chunk = m_buffer.data() + m_begin;
        const std::size_t available = m_end - m_begin;
        const void* cr = std::memchr(chunk, '\r', available);
        if (cr != nullptr) {
            const auto length = static_cast<std::size_t>(static_cast<const char*>(cr) - chunk);
            out.append(chunk, length);
            m_begin += length + 1;
            m_skipLeadingLf = true;
            dropPendingLf();
            lineEnded = true;
            return Status::Line;
        }
        out.append(chunk, available);
        m_begin = m_end;
        started = true;
        if (out.size() >= pieceLimit) {
            const std::size_t cut = findPieceCut(out, cutSearchFrom);
            cutSearchFrom = out.size();
            if (cut != std::string::npos) {
                m_carry.assign(out, cut);
                out.resize(cut);
                m_midLine = true;
                lineEnded = false;
                return Status::Line;
            }
        }
    }
}

std::string TemplateLineReader::errorText() const {
    if (!m_failed) {
        return {};
    }
    if (m_overrun) {
        return readOverrunText;
    }
    std::string text = m_source.errorText();
    return text.empty() ? std::string(readFailedText) : text;
}

bool TemplateLineReader::failed() const {
    return m_failed;
}

TemplateLineWriter::TemplateLineWriter(ByteSink& sink, std::size_t bufferSize)
    : m_sink(sink)
    , m_buffer(std::max<std::size_t>(bufferSize, 1)) {}

bool TemplateLineWriter::writeLine(std::string_view line) {
    return write(line) && append("\r\n", 2);
}

bool TemplateLineWriter::write(std::string_view bytes) {
    return append(bytes.data(), bytes.size());
}

bool TemplateLineWriter::append(const char* data, std::size_t size) {
    if (m_failed) {
        return false;
    }
    if (size > m_buffer.size() - m_used) {
        if (!flush()) {
            return false;
        }
        if (size >= m_buffer.size()) {
            // Too long to be worth copying: hand it over as it is.
            return sinkWrite(data, size);
        }
    }
    std::memcpy(m_buffer.data() + m_used, data, size);
    m_used += size;
    return true;
}

bool TemplateLineWriter::flush() {
    if (m_failed) {
        return false;
    }
    const std::size_t used = m_used;
    m_used = 0;
    return used == 0 || sinkWrite(m_buffer.data(), used);
}

bool TemplateLineWriter::sinkWrite(const char* data, std::size_t size) {
    if (!m_sink.write(data, size)) {
        // Sticky: once bytes are lost the document is broken, so nothing after may succeed.
        m_failed = true;
    }
    return !m_failed;
}

std::string TemplateLineWriter::errorText() const {
    if (!m_failed) {
        return {};
    }
    std::string text = m_sink.errorText();
    return text.empty() ? std::string(writeFailedText) : text;
}

bool TemplateLineWriter::failed() const {
    return m_failed;
}

} // namespace resipa

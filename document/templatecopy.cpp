#include "document/templatecopy.h"

namespace resipa {

TemplateCopy::TemplateCopy(ByteSource& templ, ByteSink& document, const ReceiptValues& values,
                           std::size_t bufferSize)
    : m_joined(templ)
    , m_reader(m_joined, bufferSize)
    , m_writer(document, bufferSize)
    , m_filler(values) {}

Result<bool> TemplateCopy::copyNext() {
    const Result<bool> read = m_reader.nextPiece(m_piece);
    if (!read)
        return read;
    if (!*read) {
        if (Result<> flushed = m_writer.flush(); !flushed)
            return flushed.failure();
        return false;
    }
    // Most pieces (picture data) hold no placeholder and are written as they were read.
    const bool plain = m_piece.data || m_piece.bytes.find('[') == std::string::npos;
    if (!plain)
        m_filler.fill(m_piece.bytes, m_filled);
    const std::string& out = plain ? m_piece.bytes : m_filled;
    if (Result<> written = m_piece.lineEnded ? m_writer.writeLine(out) : m_writer.write(out);
        !written)
        return written.failure();
    return true;
}

} // namespace resipa

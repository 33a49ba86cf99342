#pragma once

/// @file
/// A template copied into a receipt document, piece by piece.

#include "document/bytestream.h"
#include "document/linefiller.h"
#include "document/placeholderjoin.h"
#include "document/templatelines.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace resipa {

/// Copies a template into a document filled with one receipt's values: placeholders an editor
/// split are joined (PlaceholderJoiner), the lines come in bounded pieces (TemplateLineReader),
/// each line's pieces of text are filled (LineFiller) and every line ends in CR LF. The data a
/// reader takes as it is (binary data, a "[" that belongs to something else) is copied byte for
/// byte: no line ends in it and nothing is filled there.
class TemplateCopy {
public:
    TemplateCopy(ByteSource& templ, ByteSink& document, const ReceiptValues& values,
                 std::size_t bufferSize = 64 * 1024);

    /// Copies the next piece of the template: true while there was one, false once the last
    /// was copied and everything written. Failures of the template and the document come back
    /// as they are; after one, nothing more is written.
    Result<bool> copyNext();
    /// The template's bytes copied so far (joined), which grow with every piece.
    std::uint64_t bytesTaken() const { return m_reader.bytesTaken(); }

private:
    PlaceholderJoiner m_joined;
    TemplateLineReader m_reader;
    TemplateLineWriter m_writer;
    LineFiller m_filler;
    TemplatePiece m_piece;
    std::string m_filled;
};

} // namespace resipa

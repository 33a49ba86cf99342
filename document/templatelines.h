#pragma once

/// @file
/// Template lines: split at CR LF or a lone CR, written back with CR LF.

#include "document/bytestream.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace resipa {

/// A piece of a template line, as TemplateLineReader::nextPiece() hands it over.
struct TemplatePiece {
    std::string bytes;
    bool lineEnded = false; ///< the last piece of its line
    bool data = false;      ///< the source's data (ByteSource::dataAfter()): to be copied as it is
};

/// Reads template lines from a byte source, one at a time. A line ends at CR LF or at a lone CR
/// (the terminator is not part of it); a lone LF is an ordinary character of the line; the last
/// line may lack a terminator. A CR in the source's data (binary data) ends no line. Lines have
/// no length limit; bytes pass through untouched. Holds the current line and one read buffer,
/// never the whole input.
class TemplateLineReader {
public:
    explicit TemplateLineReader(ByteSource& source, std::size_t bufferSize = 64 * 1024);

    /// True when no further line can be read: the input is exhausted, or a read failed (which
    /// the next call of next() reports).
    bool atEnd();
    /// Reads the next line into @p line (replacing its content): true for a line, false once
    /// the input is exhausted. A failed read fails this call and every later one.
    Result<bool> next(std::string& line);
    /// Like next(), but hands a line over in bounded pieces, so that memory stays bounded
    /// whatever the line holds (a template with LF-only line ends is one line; pandoc writes a
    /// picture as one line of hex digits; binary data holds any bytes). The source's data comes
    /// in pieces of its own, at most a buffer long. A piece of text longer than the buffer is
    /// cut after a byte that no placeholder and no RTF control word can hold; a line with none
    /// for 4 KiB is cut where no RTF syntax is open and no placeholder stands across, keeping the
    /// tail that could still begin one. Filling the pieces of text one by one gives what filling
    /// the whole line gives, except for a chain of replacements across such a forced cut or
    /// across data, and a control word longer than RTF allows. The last piece of every line, the
    /// final one included, is lineEnded.
    Result<bool> nextPiece(TemplatePiece& piece);
    /// The bytes taken from the source so far.
    std::uint64_t bytesTaken() const { return m_offset + m_begin; }

private:
    Result<bool> read(TemplatePiece& out, std::size_t pieceLimit);
    bool fill();
    bool dropPendingLf();

    ByteSource& m_source;
    std::vector<char> m_buffer;
    std::uint64_t m_offset = 0;        // where the buffer's bytes stand in the source
    std::optional<ByteStretch> m_data; // the source's next data
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
    bool m_eof = false;
    std::optional<Failure> m_failure;
    bool m_skipLeadingLf = false;
    bool m_midLine = false;
    std::string m_carry;
    TemplatePiece m_piece;
};

/// Writes lines, each followed by CR LF, through a buffer to a byte sink. Sink failures stick:
/// after one, every call fails with it.
class TemplateLineWriter {
public:
    explicit TemplateLineWriter(ByteSink& sink, std::size_t bufferSize = 64 * 1024);

    /// Appends the line and CR LF.
    Result<> writeLine(std::string_view line);
    /// Appends bytes as they are (a piece of a line; end the line with writeLine("")).
    Result<> write(std::string_view bytes);
    /// Hands everything buffered to the sink. Must be called (and checked) after the last line:
    /// nothing is written on destruction.
    Result<> flush();

private:
    Result<> append(const char* data, std::size_t size);
    Result<> sinkWrite(const char* data, std::size_t size);

    ByteSink& m_sink;
    std::vector<char> m_buffer;
    std::size_t m_used = 0;
    std::optional<Failure> m_failure;
};

} // namespace resipa

#pragma once

/// @file
/// Template lines: split at CR LF or a lone CR, written back with CR LF.

#include "document/bytestream.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace resipa {

/// Reads template lines from a byte source, one at a time. A line ends at CR LF or at a lone CR
/// (the terminator is not part of it); a lone LF is an ordinary character of the line; the last
/// line may lack a terminator. Lines have no length limit; bytes pass through untouched.
/// Holds the current line and one read buffer, never the whole input.
class TemplateLineReader {
public:
    enum class Status { Line, End, Error };

    explicit TemplateLineReader(ByteSource& source, std::size_t bufferSize = 64 * 1024);

    /// True when no further line can be read (end of input reached, or a read failed: check
    /// failed() after the loop, or drive the loop with next() alone).
    bool atEnd();
    /// Reads the next line into @p line (replacing its content). Line until the input is
    /// exhausted, then End; Error once a read has failed (and on every later call).
    Status next(std::string& line);
    /// Like next(), but hands a line longer than the buffer over in pieces of about the buffer's
    /// size, so that memory stays bounded however long a line is (a template with LF-only line
    /// ends is one line). A piece is only cut after a byte that no placeholder and no RTF control
    /// word can hold, so filling the pieces one by one
    /// gives what filling the whole line gives. @p lineEnded is false while the line goes on
    /// in the next piece; the last piece of every line, the final one included, sets it.
    Status nextPiece(std::string& piece, bool& lineEnded);
    /// True once a read from the source has failed.
    bool failed() const;
    /// The source's description of a read failure (never empty after one), empty otherwise.
    std::string errorText() const;

private:
    Status read(std::string& out, std::size_t pieceLimit, bool& lineEnded);
    bool fill();
    bool dropPendingLf();

    ByteSource& m_source;
    std::vector<char> m_buffer;
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
    bool m_eof = false;
    bool m_failed = false;
    bool m_overrun = false;
    bool m_skipLeadingLf = false;
    bool m_midLine = false;
    std::string m_carry;
};

/// Writes lines, each followed by CR LF, through a buffer to a byte sink. Sink failures stick:
/// after one, every call returns false.
class TemplateLineWriter {
public:
    explicit TemplateLineWriter(ByteSink& sink, std::size_t bufferSize = 64 * 1024);

    /// Appends the line and CR LF. False once a write to the sink has failed.
    bool writeLine(std::string_view line);
    /// Appends bytes as they are (a piece of a line; end the line with writeLine("")).
    bool write(std::string_view bytes);
    /// Hands everything buffered to the sink. Must be called (and checked) after the last line:
    /// nothing is written on destruction. False once any write has failed.
    bool flush();
    /// True once a write to the sink has failed.
    bool failed() const;
    /// The sink's description of a write failure (never empty after one), empty otherwise.
    std::string errorText() const;

private:
    bool append(const char* data, std::size_t size);
    bool sinkWrite(const char* data, std::size_t size);

    ByteSink& m_sink;
    std::vector<char> m_buffer;
    std::size_t m_used = 0;
    bool m_failed = false;
};

} // namespace resipa

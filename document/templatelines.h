#pragma once

/// @file
/// Template lines: split at CR LF or a lone CR, written back with CR LF.

#include <cstddef>
#include <string>
#include <vector>

#include "document/bytestream.h"

namespace resipa {

/// Reads template lines from a byte source, one at a time. A line ends at CR LF or at a lone CR
/// (the terminator is not part of it); a lone LF is an ordinary character of the line; the last
/// line may lack a terminator. Lines have no length limit; bytes pass through untouched.
/// Holds the current line and one read buffer, never the whole input.
class TemplateLineReader {
public:
    enum class Status { Line, End, Error };

    explicit TemplateLineReader(ByteSource& source, std::size_t bufferSize = 64 * 1024);

    /// True when no further line can be read (end of input reached, or a read failed).
    bool atEnd();
    /// Reads the next line into @p line (replacing its content).
    Status next(std::string& line);
    /// The source's description of a read failure.
    std::string errorText() const;

private:
    bool fill();

    ByteSource& m_source;
    std::vector<char> m_buffer;
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
    bool m_eof = false;
    bool m_failed = false;
    bool m_skipLeadingLf = false;
};

/// Writes lines, each followed by CR LF, through a buffer to a byte sink.
class TemplateLineWriter {
public:
    explicit TemplateLineWriter(ByteSink& sink, std::size_t bufferSize = 64 * 1024);

    /// Appends the line and CR LF. False once a write to the sink has failed.
    bool writeLine(std::string_view line);
    /// Hands everything buffered to the sink.
    bool flush();
    std::string errorText() const;

private:
    bool append(const char* data, std::size_t size);

    ByteSink& m_sink;
    std::vector<char> m_buffer;
    std::size_t m_used = 0;
    bool m_failed = false;
};

} // namespace resipa

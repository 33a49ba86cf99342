#pragma once

/// @file
/// Byte sources and sinks the template lines are read from and written to.

#include <cstddef>
#include <string>

namespace resipa {

/// Where template bytes come from (a file, a test buffer).
class ByteSource {
public:
    virtual ~ByteSource() = default;
    /// Reads up to @p capacity bytes into @p buffer. Returns the count read, 0 at the end, or a
    /// negative value on failure (errorText() then says why).
    virtual long long read(char* buffer, std::size_t capacity) = 0;
    /// The operator-facing (Indonesian) description of the last failure.
    virtual std::string errorText() const { return {}; }
};

/// Where document bytes go.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    /// Writes all @p size bytes, or returns false (errorText() then says why).
    virtual bool write(const char* data, std::size_t size) = 0;
    virtual std::string errorText() const { return {}; }
};

} // namespace resipa

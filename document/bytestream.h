#pragma once

/// @file
/// Byte sources and sinks the template lines are read from and written to.

#include "document/result.h"

#include <cstddef>

namespace resipa {

/// Where template bytes come from (a file, a test buffer).
class ByteSource {
public:
    virtual ~ByteSource() = default;
    /// Reads up to @p capacity bytes into @p buffer: the count read, 0 at the end.
    virtual Result<std::size_t> read(char* buffer, std::size_t capacity) = 0;
};

/// Where document bytes go.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    /// Writes all @p size bytes.
    virtual Result<> write(const char* data, std::size_t size) = 0;
};

} // namespace resipa

#pragma once

/// @file
/// Byte sources and sinks the template lines are read from and written to.

#include "document/result.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace resipa {

/// A stretch of a source's bytes, [begin, end), counted from its first byte.
struct ByteStretch {
    std::uint64_t begin = 0;
    std::uint64_t end = 0;
};

/// Where template bytes come from (a file, a test buffer).
class ByteSource {
public:
    virtual ~ByteSource() = default;
    /// Reads up to @p capacity bytes into @p buffer: the count read, 0 at the end.
    virtual Result<std::size_t> read(char* buffer, std::size_t capacity) = 0;
    /// Among the bytes read so far, the first stretch of data that ends after @p from: bytes a
    /// reader of the document takes as they are, never as text (binary data, a "[" that is part
    /// of something else). No line ends and no placeholder is filled in them. Earlier
    /// stretches may be forgotten. A plain source has none.
    virtual std::optional<ByteStretch> dataAfter(std::uint64_t /*from*/) { return std::nullopt; }
};

/// Where document bytes go.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    /// Writes all @p size bytes.
    virtual Result<> write(const char* data, std::size_t size) = 0;
};

} // namespace resipa

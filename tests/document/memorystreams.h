#pragma once

#include "document/bytestream.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

namespace resipa {

// Hands out its bytes in chunks of at most `chunk`, and fails once `failAt` bytes are read.
struct MemorySource : ByteSource {
    explicit MemorySource(std::string bytes, std::size_t chunk = 65536,
                          std::size_t failAt = std::string::npos, std::string error = "rusak")
        : bytes(std::move(bytes))
        , chunk(chunk)
        , failAt(failAt)
        , error(std::move(error)) {}
    long long read(char* buffer, std::size_t capacity) override {
        if (pos >= failAt)
            return -1;
        const std::size_t count = std::min({capacity, chunk, std::min(failAt, bytes.size()) - pos});
        std::memcpy(buffer, bytes.data() + pos, count);
        pos += count;
        return static_cast<long long>(count);
    }
    std::string errorText() const override { return error; }

    std::string bytes;
    std::size_t chunk, failAt;
    std::string error;
    std::size_t pos = 0;
};

// Keeps the bytes it is given up to `limit`, then refuses every write; one that refuses all
// (limit 0) does not say why.
struct MemorySink : ByteSink {
    explicit MemorySink(std::size_t limit = std::string::npos)
        : limit(limit) {}
    bool write(const char* data, std::size_t size) override {
        if (size > limit - bytes.size())
            return false;
        bytes.append(data, size);
        return true;
    }
    std::string errorText() const override { return limit == 0 ? "" : "disk penuh"; }

    std::size_t limit;
    std::string bytes;
};

} // namespace resipa

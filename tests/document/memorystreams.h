#pragma once

#include "document/bytestream.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

namespace resipa {

// Hands out the bytes in chunks of at most maxChunk, then fails when failAt is reached.
class MemorySource : public ByteSource {
public:
    MemorySource(std::string bytes, std::size_t maxChunk, std::size_t failAt = std::string::npos,
                 std::string error = "rusak")
        : m_bytes(std::move(bytes))
        , m_maxChunk(maxChunk)
        , m_failAt(failAt)
        , m_error(std::move(error)) {}

    long long read(char* buffer, std::size_t capacity) override {
        if (m_pos >= m_failAt) {
            return -1;
        }
        const std::size_t limit = std::min(m_failAt, m_bytes.size());
        const std::size_t count = std::min({capacity, m_maxChunk, limit - m_pos});
        std::memcpy(buffer, m_bytes.data() + m_pos, count);
        m_pos += count;
        if (count == 0 && m_failAt != std::string::npos) {
            return -1;
        }
        return static_cast<long long>(count);
    }
    std::string errorText() const override { return m_error; }

private:
    std::string m_bytes;
    std::size_t m_maxChunk;
    std::size_t m_pos = 0;
    std::size_t m_failAt;
    std::string m_error;
};

// Accepts bytes until limit is reached, then refuses every write.
class LimitedSink : public ByteSink {
public:
    explicit LimitedSink(std::size_t limit = std::string::npos)
        : m_limit(limit) {}

    bool write(const char* data, std::size_t size) override {
        if (size > m_limit - received.size()) {
            return false;
        }
        received.append(data, size);
        return true;
    }
    std::string errorText() const override { return m_limit == 0 ? "" : "disk penuh"; }

    std::string received;

private:
    std::size_t m_limit;
};

} // namespace resipa

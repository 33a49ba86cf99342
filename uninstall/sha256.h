#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// SHA-256 in the lowercase hex that CMake's file(SHA256) writes into the install's list, so
// that the uninstall can tell a file the install wrote from one the operator changed.
class Sha256 {
public:
    void add(const unsigned char* data, std::size_t size);
    // Ends the message; the object is spent afterwards.
    std::string hex();

private:
    void addBlock(const unsigned char* block);

    std::array<std::uint32_t, 8> m_state{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                         0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    std::array<unsigned char, 64> m_pending{};
    std::size_t m_pendingSize = 0;
    std::uint64_t m_length = 0;
};

#pragma once

#include "icons/byte_view.h"

#include <array>
#include <cstdint>
#include <string>

namespace orvu {

// SHA-256 (FIPS 180-4), fed in pieces of any length.
class Sha256 {
public:
    Sha256& add(Bytes bytes);
    // The digest of everything added, as 64 lower-case hex digits. The
    // object is spent afterwards.
    std::string hex();

private:
    void compress(const std::uint8_t* block);

    std::array<std::uint32_t, 8> m_state{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                         0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    std::array<std::uint8_t, 64> m_block{};
    std::size_t m_filled = 0;
    std::uint64_t m_length = 0; // bytes added
};

// The SHA-256 of `bytes` as 64 lower-case hex digits.
std::string sha256Hex(Bytes bytes);

} // namespace orvu

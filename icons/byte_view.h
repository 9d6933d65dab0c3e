#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace orvu {

using Bytes = std::span<const std::uint8_t>;

// A bounds-checked, little-endian view of bytes that someone else owns.
// Every offset and length is taken as 64-bit and checked before use, so
// values read from a hostile file can never wrap around or reach outside.
class ByteView {
public:
    ByteView() = default;
    explicit ByteView(Bytes bytes) : m_bytes(bytes) {}

    std::size_t size() const { return m_bytes.size(); }
    Bytes bytes() const { return m_bytes; }

    bool contains(std::uint64_t offset, std::uint64_t length) const {
        return offset <= m_bytes.size() && length <= m_bytes.size() - offset;
    }

    std::optional<std::uint8_t> u8(std::uint64_t offset) const {
        if (!contains(offset, 1))
            return std::nullopt;
        return m_bytes[offset];
    }

    std::optional<std::uint16_t> u16(std::uint64_t offset) const {
        if (!contains(offset, 2))
            return std::nullopt;
        return static_cast<std::uint16_t>(m_bytes[offset] | (m_bytes[offset + 1] << 8));
    }

    std::optional<std::uint32_t> u32(std::uint64_t offset) const {
        if (!contains(offset, 4))
            return std::nullopt;
        return static_cast<std::uint32_t>(m_bytes[offset]) |
               static_cast<std::uint32_t>(m_bytes[offset + 1]) << 8 |
               static_cast<std::uint32_t>(m_bytes[offset + 2]) << 16 |
               static_cast<std::uint32_t>(m_bytes[offset + 3]) << 24;
    }

    std::optional<std::int32_t> i32(std::uint64_t offset) const {
        auto value = u32(offset);
        if (!value)
            return std::nullopt;
        return static_cast<std::int32_t>(*value);
    }

    std::optional<std::uint32_t> u32BigEndian(std::uint64_t offset) const {
        if (!contains(offset, 4))
            return std::nullopt;
        return static_cast<std::uint32_t>(m_bytes[offset]) << 24 |
               static_cast<std::uint32_t>(m_bytes[offset + 1]) << 16 |
               static_cast<std::uint32_t>(m_bytes[offset + 2]) << 8 |
               static_cast<std::uint32_t>(m_bytes[offset + 3]);
    }

    std::optional<ByteView> sub(std::uint64_t offset, std::uint64_t length) const {
        if (!contains(offset, length))
            return std::nullopt;
        return ByteView(m_bytes.subspan(offset, length));
    }

    bool startsWith(Bytes prefix) const {
        if (prefix.size() > m_bytes.size())
            return false;
        for (std::size_t i = 0; i < prefix.size(); ++i) {
            if (m_bytes[i] != prefix[i])
                return false;
        }
        return true;
    }

private:
    Bytes m_bytes;
};

} // namespace orvu

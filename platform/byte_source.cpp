#include "byte_source.h"

#include "reader_limits.h"

#include <algorithm>

namespace orvu {

std::optional<std::vector<std::uint8_t>>
ByteSource::read(std::uint64_t offset, std::uint64_t length, std::uint64_t maxLength) {
    if (length > maxLength || offset > m_size || length > m_size - offset)
        return std::nullopt;
    if (length > limits::MaxBytesPerFile - m_bytesDelivered)
        return std::nullopt;
    m_bytesDelivered += length;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
    if (!readInto(offset, bytes))
        return std::nullopt;
    return bytes;
}

bool MemorySource::readInto(std::uint64_t offset, std::span<std::uint8_t> out) {
    std::copy_n(m_bytes.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
    return true;
}

} // namespace orvu

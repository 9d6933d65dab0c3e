#include "icons/byte_source.h"

#include "icons/limits.h"

#include <algorithm>

namespace orvu {

Result<std::vector<std::uint8_t>> ByteSource::read(std::uint64_t offset, std::uint64_t length,
                                                   std::uint64_t maxLength, std::string_view what) {
    const auto named = [&](const std::string& problem) {
        return std::string(what) + " at " + hexOffset(offset) + " (" + std::to_string(length) +
               " bytes) " + problem;
    };
    if (length > maxLength)
        return Failure{Failure::Kind::OverLimit,
                       named("exceeds the " + std::to_string(maxLength) + " bytes allowed")};
    if (offset > m_size || length > m_size - offset)
        return damaged(named("runs past the end of the file"));
    if (length > limits::MaxBytesPerFile - m_bytesDelivered)
        return Failure{Failure::Kind::OverLimit,
                       named("exceeds MaxBytesPerFile, the " +
                             std::to_string(limits::MaxBytesPerFile) +
                             " bytes that one request may read of a file")};
    m_bytesDelivered += length;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
    if (!readInto(offset, bytes))
        return Failure{Failure::Kind::System, named("could not be read")};
    return bytes;
}

bool MemorySource::readInto(std::uint64_t offset, std::span<std::uint8_t> out) {
    std::copy_n(m_bytes.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
    return true;
}

} // namespace orvu

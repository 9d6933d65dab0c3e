#pragma once

#include "icons/byte_view.h"
#include "icons/result.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace orvu {

// Random access to the bytes of a file (or of memory, in tests). Reads are
// checked against the size known at opening and against the byte budget of
// one request, limits::MaxBytesPerFile; a source that comes up short (a file
// that shrank since it was opened) makes the read fail, never the program.
class ByteSource {
public:
    explicit ByteSource(std::uint64_t size) : m_size(size) {}
    virtual ~ByteSource() = default;
    ByteSource(const ByteSource&) = delete;
    ByteSource& operator=(const ByteSource&) = delete;

    std::uint64_t size() const { return m_size; }
    // Starts a new request: its reads are counted against the budget afresh.
    void startRequest() { m_bytesDelivered = 0; }

    // The `length` bytes at `offset`. Fails when they lie outside the source,
    // exceed `maxLength`, exceed the budget or can't be read; `what` names
    // them in the failure ("section table", "RT_ICON 7").
    Result<std::vector<std::uint8_t>> read(std::uint64_t offset, std::uint64_t length,
                                           std::uint64_t maxLength, std::string_view what);

protected:
    // Fills `out` from `offset`; false when any byte can't be had.
    virtual bool readInto(std::uint64_t offset, std::span<std::uint8_t> out) = 0;

private:
    std::uint64_t m_size = 0;
    std::uint64_t m_bytesDelivered = 0; // in this request
};

// Bytes held in memory (tests, fuzzing).
class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::vector<std::uint8_t> bytes)
        : ByteSource(bytes.size()), m_bytes(std::move(bytes)) {}

protected:
    bool readInto(std::uint64_t offset, std::span<std::uint8_t> out) override;

private:
    std::vector<std::uint8_t> m_bytes;
};

} // namespace orvu

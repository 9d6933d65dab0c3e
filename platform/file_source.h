#pragma once

#include "byte_source.h"

#include <filesystem>
#include <memory>
#include <string>

namespace orvu {

// A file read by position, never as a whole. Small reads are served from one
// cached chunk, so the headers and resource directories of a typical
// executable cost two or three system calls.
class FileSource final : public ByteSource {
public:
    // Null when the path names nothing that can be opened as a regular file;
    // `why` (if given) then says why. FIFOs, sockets and devices are refused
    // without being opened.
    static std::unique_ptr<FileSource> open(const std::filesystem::path& path,
                                            std::string* why = nullptr);
    ~FileSource() override;

protected:
    bool readInto(std::uint64_t offset, std::span<std::uint8_t> out) override;

private:
    static constexpr std::uint64_t ChunkSize = 8 * 1024;
    static constexpr std::uint64_t ChunkAlignment = 4 * 1024;

    struct Handle;
    FileSource(std::unique_ptr<Handle> handle, std::uint64_t size);
    bool readDirect(std::uint64_t offset, std::span<std::uint8_t> out);

    std::unique_ptr<Handle> m_handle;
    std::vector<std::uint8_t> m_chunk;
    std::uint64_t m_chunkOffset = 0;
};

} // namespace orvu

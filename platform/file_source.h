#pragma once

#include "byte_source.h"

#include <array>
#include <filesystem>
#include <memory>
#include <string>

namespace orvu {

// A file read by position, never as a whole. Small reads are served from a
// few cached chunks, so the headers and resource directories of a typical
// executable cost two or three system calls, and the directories that every
// icon of a large library walks through are read once, not once per icon.
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
    // A chunk starts at the read's offset rounded down to ChunkAlignment, so
    // reads of up to MaxCachedRead bytes always fit in one; larger reads
    // (icon images, mostly) go straight to the file.
    static constexpr std::uint64_t ChunkSize = 4 * 1024;
    static constexpr std::uint64_t ChunkAlignment = 512;
    static constexpr std::uint64_t MaxCachedRead = ChunkSize - ChunkAlignment;
    static constexpr std::size_t ChunkCount = 16;

    struct Chunk {
        std::vector<std::uint8_t> bytes;
        std::uint64_t offset = 0;
        std::uint64_t lastUse = 0; // 0: never filled
    };

    struct Handle;
    FileSource(std::unique_ptr<Handle> handle, std::uint64_t size);
    bool readDirect(std::uint64_t offset, std::span<std::uint8_t> out);
    // The chunk holding [offset, offset + length), read in if need be.
    const Chunk* chunkFor(std::uint64_t offset, std::uint64_t length);

    std::unique_ptr<Handle> m_handle;
    std::array<Chunk, ChunkCount> m_chunks;
    std::uint64_t m_uses = 0;
};

} // namespace orvu

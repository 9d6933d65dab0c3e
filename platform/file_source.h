#pragma once

#include "icons/byte_source.h"
#include "platform/open_folder.h"

#include <array>
#include <filesystem>
#include <memory>

namespace orvu {

// A file read by position, never as a whole. Small reads are served from a
// few cached chunks, so the headers and resource directories of a typical
// executable cost two or three system calls, and the directories that every
// icon of a large library walks through are read once, not once per icon.
class FileSource final : public ByteSource {
public:
    // Fails when the path names nothing that can be opened as a regular
    // file. FIFOs, sockets and devices are refused without being opened.
    static Result<std::unique_ptr<FileSource>> open(const std::filesystem::path& path);

    // What a folder listing has already seen of a file.
    enum class Listed { Unknown, AsRegularFile };
    // The file `name` (one name, no folders) in `folder`, opened by name where
    // the folder is held open. A file the listing saw as a regular file is
    // opened without a look first; what is opened is checked all the same.
    static Result<std::unique_ptr<FileSource>>
    open(const OpenFolder& folder, const std::filesystem::path& name, Listed listed);
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
#ifndef _WIN32
    // `name` relative to the folder descriptor `folder` (or AT_FDCWD).
    static Result<std::unique_ptr<FileSource>> openAt(int folder, const char* name, Listed listed);
#endif
    bool readDirect(std::uint64_t offset, std::span<std::uint8_t> out);
    // The chunk holding [offset, offset + length), read in if need be.
    const Chunk* chunkFor(std::uint64_t offset, std::uint64_t length);

    std::unique_ptr<Handle> m_handle;
    std::array<Chunk, ChunkCount> m_chunks;
    std::uint64_t m_uses = 0;
};

} // namespace orvu

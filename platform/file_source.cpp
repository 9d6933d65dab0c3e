#include "platform/file_source.h"

#include "platform/system_failure.h"

#include <algorithm>

#ifdef _WIN32
#include "platform/windows_api.h"
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orvu {

#ifdef _WIN32

struct FileSource::Handle {
    HANDLE file = INVALID_HANDLE_VALUE;
    ~Handle() {
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    }
};

Result<std::unique_ptr<FileSource>> FileSource::open(const std::filesystem::path& path) {
    auto handle = std::make_unique<Handle>();
    handle->file = CreateFileW(path.c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle->file == INVALID_HANDLE_VALUE)
        return lastSystemFailure();
    if (GetFileType(handle->file) != FILE_TYPE_DISK)
        return Failure{Failure::Kind::NotAFile, {}};
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handle->file, &size) || size.QuadPart < 0)
        return lastSystemFailure();
    return std::unique_ptr<FileSource>(
        new FileSource(std::move(handle), static_cast<std::uint64_t>(size.QuadPart)));
}

bool FileSource::readDirect(std::uint64_t offset, std::span<std::uint8_t> out) {
    std::size_t done = 0;
    while (done < out.size()) {
        OVERLAPPED at{};
        const std::uint64_t position = offset + done;
        at.Offset = static_cast<DWORD>(position & 0xFFFFFFFFu);
        at.OffsetHigh = static_cast<DWORD>(position >> 32);
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(out.size() - done, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(m_handle->file, out.data() + done, want, &got, &at) || got == 0)
            return false;
        done += got;
    }
    return true;
}

#else

struct FileSource::Handle {
    int fd = -1;
    ~Handle() {
        if (fd >= 0)
            ::close(fd);
    }
};

Result<std::unique_ptr<FileSource>> FileSource::open(const std::filesystem::path& path) {
    return openAt(AT_FDCWD, path.c_str(), Listed::Unknown);
}

Result<std::unique_ptr<FileSource>> FileSource::openAt(int folder, const char* name,
                                                       Listed listed) {
    // Look before opening: opening a FIFO for reading would block, and a
    // device may act on being opened.
    if (listed != Listed::AsRegularFile) {
        struct stat before {};
        if (::fstatat(folder, name, &before, 0) != 0)
            return lastSystemFailure();
        if (!S_ISREG(before.st_mode))
            return Failure{Failure::Kind::NotAFile, {}};
    }
    auto handle = std::make_unique<Handle>();
    handle->fd = ::openat(folder, name, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (handle->fd < 0)
        return lastSystemFailure();
    struct stat opened {};
    if (::fstat(handle->fd, &opened) != 0)
        return lastSystemFailure();
    if (!S_ISREG(opened.st_mode) || opened.st_size < 0)
        return Failure{Failure::Kind::NotAFile, {}};
    return std::unique_ptr<FileSource>(
        new FileSource(std::move(handle), static_cast<std::uint64_t>(opened.st_size)));
}

bool FileSource::readDirect(std::uint64_t offset, std::span<std::uint8_t> out) {
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t got = ::pread(m_handle->fd, out.data() + done, out.size() - done,
                                    static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false; // an error, or the file shrank under us
        done += static_cast<std::size_t>(got);
    }
    return true;
}

#endif

Result<std::unique_ptr<FileSource>> FileSource::open(const OpenFolder& folder,
                                                     const std::filesystem::path& name,
                                                     [[maybe_unused]] Listed listed) {
#ifndef _WIN32
    if (folder.descriptor() >= 0)
        return openAt(folder.descriptor(), name.c_str(), listed);
#endif
    return open(folder.path() / name);
}

FileSource::FileSource(std::unique_ptr<Handle> handle, std::uint64_t size)
    : ByteSource(size), m_handle(std::move(handle)) {}

FileSource::~FileSource() = default;

bool FileSource::readInto(std::uint64_t offset, std::span<std::uint8_t> out) {
    if (out.size() > MaxCachedRead)
        return readDirect(offset, out);
    const Chunk* chunk = chunkFor(offset, out.size());
    if (!chunk)
        return false;
    std::copy_n(chunk->bytes.begin() + static_cast<std::ptrdiff_t>(offset - chunk->offset),
                out.size(), out.begin());
    return true;
}

const FileSource::Chunk* FileSource::chunkFor(std::uint64_t offset, std::uint64_t length) {
    const auto holds = [&](const Chunk& chunk) {
        return offset >= chunk.offset && offset - chunk.offset <= chunk.bytes.size() &&
               length <= chunk.bytes.size() - (offset - chunk.offset);
    };
    Chunk* leastRecent = &m_chunks.front();
    for (Chunk& chunk : m_chunks) {
        if (chunk.lastUse != 0 && holds(chunk)) {
            chunk.lastUse = ++m_uses;
            return &chunk;
        }
        if (chunk.lastUse < leastRecent->lastUse)
            leastRecent = &chunk;
    }
    Chunk& chunk = *leastRecent;
    chunk.offset = offset - offset % ChunkAlignment;
    chunk.bytes.resize(static_cast<std::size_t>(std::min(ChunkSize, size() - chunk.offset)));
    if (!holds(chunk) || !readDirect(chunk.offset, chunk.bytes)) {
        chunk.lastUse = 0;
        return nullptr;
    }
    chunk.lastUse = ++m_uses;
    return &chunk;
}

} // namespace orvu

#include "platform/file_in_place.h"

#include "platform/atomic_file.h"
#include "platform/system_failure.h"
#include "platform/write_all.h"

#include <optional>

#ifdef _WIN32
#include "platform/windows_api.h"
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orvu {
namespace fs = std::filesystem;

namespace {

Failure aLink() {
    return {Failure::Kind::NotAFile, "a symbolic link"};
}

Failure theSource() {
    return {Failure::Kind::Exists, "the file it is made from"};
}

// A file that has appeared meanwhile is opened on the second attempt; a
// third means something keeps changing the name under us.
constexpr int Attempts = 3;

} // namespace

#ifdef _WIN32

namespace {

struct FileIdentity {
    DWORD volume = 0;
    std::uint64_t index = 0;
    bool operator==(const FileIdentity&) const = default;
};

std::optional<FileIdentity> identityOf(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info))
        return std::nullopt;
    return FileIdentity{info.dwVolumeSerialNumber,
                        std::uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow};
}

// The file a path leads to, links followed; nullopt where it can't be opened.
std::optional<FileIdentity> identityOf(const fs::path& path) {
    HANDLE file =
        CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    const auto identity = identityOf(file);
    CloseHandle(file);
    return identity;
}

// Empties the file from the start.
bool empty(HANDLE file) {
    return SetFilePointerEx(file, LARGE_INTEGER{}, nullptr, FILE_BEGIN) && SetEndOfFile(file);
}

Result<void> fill(HANDLE file, const std::vector<std::uint8_t>& bytes) {
    if (!empty(file))
        return lastSystemFailure();
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size() || !FlushFileBuffers(file)) {
        const Failure failure = lastSystemFailure();
        empty(file); // a part of a picture is worse than none
        return failure;
    }
    return {};
}

} // namespace

Result<void> writeFileInPlace(const fs::path& path, const std::vector<std::uint8_t>& bytes,
                              const fs::path& source) {
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        // The link itself, not what it names, is opened.
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            if (GetLastError() != ERROR_FILE_NOT_FOUND)
                return lastSystemFailure();
            auto created = createFileAtomically(path, bytes);
            if (created || created.failure().kind != Failure::Kind::Exists)
                return created;
            continue;
        }
        BY_HANDLE_FILE_INFORMATION info{};
        Result<void> result;
        if (!GetFileInformationByHandle(file, &info))
            result = lastSystemFailure();
        else if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
            result = aLink();
        else if (GetFileType(file) != FILE_TYPE_DISK ||
                 (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            result = Failure{Failure::Kind::NotAFile, {}};
        else if (const auto from = identityOf(source); from && from == identityOf(file))
            result = theSource();
        else
            result = fill(file, bytes);
        CloseHandle(file);
        return result;
    }
    return Failure{Failure::Kind::System, "the name kept changing while it was written"};
}

#else

namespace {

Result<void> fill(int fd, const std::vector<std::uint8_t>& bytes) {
    if (::ftruncate(fd, 0) != 0)
        return lastSystemFailure();
    Result<void> written = writeAll(fd, bytes);
    if (written && ::fsync(fd) != 0)
        written = lastSystemFailure();
    // A part of a picture (a full disk) is worse than none: the file is
    // left empty, which its reader takes for no picture.
    if (!written)
        static_cast<void>(::ftruncate(fd, 0));
    return written;
}

// Checks what `fd` opened before anything is written to it.
Result<void> checkTarget(int fd, const fs::path& source) {
    struct stat target {};
    if (::fstat(fd, &target) != 0)
        return lastSystemFailure();
    if (!S_ISREG(target.st_mode))
        return Failure{Failure::Kind::NotAFile, {}};
    struct stat from {};
    if (::stat(source.c_str(), &from) == 0 && from.st_dev == target.st_dev &&
        from.st_ino == target.st_ino)
        return theSource();
    return {};
}

} // namespace

Result<void> writeFileInPlace(const fs::path& path, const std::vector<std::uint8_t>& bytes,
                              const fs::path& source) {
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        // O_NONBLOCK: a FIFO in the way must not hold us up; it is refused below.
        const int fd = ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            if (errno == ELOOP)
                return aLink();
            if (errno == ENXIO) // a FIFO nobody reads, a device without its driver
                return Failure{Failure::Kind::NotAFile, {}};
            if (errno != ENOENT)
                return lastSystemFailure();
            auto created = createFileAtomically(path, bytes);
            if (created || created.failure().kind != Failure::Kind::Exists)
                return created;
            continue; // something took the name meanwhile: look at it again
        }
        Result<void> result = checkTarget(fd, source);
        if (result)
            result = fill(fd, bytes);
        if (::close(fd) != 0 && result)
            result = lastSystemFailure();
        return result;
    }
    return Failure{Failure::Kind::System, "the name kept changing while it was written"};
}

#endif

} // namespace orvu

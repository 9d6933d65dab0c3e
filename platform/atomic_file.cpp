#include "platform/atomic_file.h"

#include "platform/system_failure.h"
#include "platform/write_all.h"

#include <optional>
#include <system_error>

#ifdef _WIN32
#include "platform/windows_api.h"
#else
#include <cerrno>
#include <cstdio> // renameat2
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orvu {
namespace fs = std::filesystem;

namespace {

Failure notAFile() {
    return {Failure::Kind::NotAFile, {}};
}

// The folder a file at `path` goes in.
fs::path folderOf(const fs::path& path) {
    return path.has_parent_path() ? path.parent_path() : fs::path(".");
}

// What is at a path: not_found when nothing is. A link is looked at itself.
Result<fs::file_status> lookAt(const fs::path& path) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path, error);
    if (error && status.type() != fs::file_type::not_found)
        return systemFailure(error);
    return status;
}

// The file that writing to `path` must replace, and what is there now:
// links are followed unless the link itself is to go. Anything but a regular
// file or a link (a folder, a device) is refused.
struct Target {
    fs::path path;
    fs::file_status status;
};

Result<Target> targetOf(const fs::path& path, Links links) {
    auto status = lookAt(path);
    if (!status)
        return status.failure();
    Target target{path, *status};
    if (links == Links::WriteThrough && fs::is_symlink(target.status)) {
        std::error_code error;
        target.path = fs::weakly_canonical(path, error);
        if (error)
            return systemFailure(error);
        status = lookAt(target.path);
        if (!status)
            return status.failure();
        target.status = *status;
    }
    if (fs::exists(target.status) && !fs::is_regular_file(target.status) &&
        !fs::is_symlink(target.status))
        return notAFile();
    return target;
}

} // namespace

#ifdef _WIN32

namespace {

// A new temporary file in `folder` holding `bytes`, flushed to the disk when
// `flush` is set; nothing is left behind when it fails.
Result<std::wstring> writeTemporary(const fs::path& folder, const std::vector<std::uint8_t>& bytes,
                                    bool flush) {
    wchar_t temporary[MAX_PATH + 1] = {};
    if (!GetTempFileNameW(folder.c_str(), L"orv", 0, temporary))
        return lastSystemFailure();
    HANDLE file = CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const Failure message = lastSystemFailure();
        DeleteFileW(temporary);
        return message;
    }
    DWORD written = 0;
    const bool complete =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size() && (!flush || FlushFileBuffers(file));
    const Failure writeMessage = complete ? Failure{} : lastSystemFailure();
    CloseHandle(file);
    if (!complete) {
        DeleteFileW(temporary);
        return writeMessage;
    }
    return std::wstring(temporary);
}

} // namespace

Result<void> replaceFileAtomically(const fs::path& path, const std::vector<std::uint8_t>& bytes,
                                   Links links) {
    const auto target = targetOf(path, links);
    if (!target)
        return target.failure();
    const auto temporary =
        writeTemporary(folderOf(target->path), bytes, fs::exists(target->status));
    if (!temporary)
        return temporary.failure();
    if (!MoveFileExW(temporary->c_str(), target->path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const Failure message = lastSystemFailure();
        DeleteFileW(temporary->c_str());
        return message;
    }
    return {};
}

Result<void> createFileAtomically(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    const auto temporary = writeTemporary(folderOf(path), bytes, false);
    if (!temporary)
        return temporary.failure();
    // Without MOVEFILE_REPLACE_EXISTING the move fails when the name is taken.
    if (!MoveFileExW(temporary->c_str(), path.c_str(), 0)) {
        const DWORD code = GetLastError();
        const Failure message = code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS
                                    ? Failure{Failure::Kind::Exists, {}}
                                    : lastSystemFailure();
        DeleteFileW(temporary->c_str());
        return message;
    }
    return {};
}

#else

namespace {

// A new temporary file next to `target` holding `bytes` with the permissions
// `mode`, flushed to the disk when `flush` is set; its path. Nothing is left
// behind when it fails. Its name is short, whatever the target's: a target
// whose name is as long as the file system allows must still be written.
Result<std::string> writeTemporary(const fs::path& target, const std::vector<std::uint8_t>& bytes,
                                   mode_t mode, bool flush) {
    std::string temporary = (folderOf(target) / ".orvu-XXXXXX").native();
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return lastSystemFailure();
    const auto fail = [&](Failure failure) {
        ::close(fd);
        ::unlink(temporary.c_str());
        return failure;
    };
    if (const auto written = writeAll(fd, bytes); !written)
        return fail(written.failure());
    if (::fchmod(fd, mode) != 0 || (flush && ::fsync(fd) != 0))
        return fail(lastSystemFailure());
    if (::close(fd) != 0) {
        const Failure message = lastSystemFailure();
        ::unlink(temporary.c_str());
        return message;
    }
    return temporary;
}

// The usual permissions of a new file.
mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

#ifdef __linux__
// createFileAtomically with a file that has no name until it is complete
// (O_TMPFILE), then gets its name in one step where the name is free: half
// the system calls of a named temporary file. Nullopt where the file system
// or the system can't do it.
std::optional<Result<void>> createUnnamedThenLink(const fs::path& path,
                                                  const std::vector<std::uint8_t>& bytes) {
    const int fd = ::open(folderOf(path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0) {
        if (errno == EISDIR || errno == EOPNOTSUPP || errno == EINVAL)
            return std::nullopt;
        return lastSystemFailure();
    }
    if (const auto written = writeAll(fd, bytes); !written) {
        ::close(fd);
        return written;
    }
    // Linking the descriptor itself needs a privilege; its /proc link doesn't.
    char name[32];
    std::snprintf(name, sizeof name, "/proc/self/fd/%d", fd);
    if (::linkat(AT_FDCWD, name, AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EEXIST)
            return Failure{Failure::Kind::Exists, {}};
        if (error == ENOENT && !fs::exists("/proc/self/fd")) // no /proc
            return std::nullopt;
        return systemFailure(std::error_code(error, std::generic_category()));
    }
    if (::close(fd) != 0) {
        const Failure message = lastSystemFailure();
        ::unlink(path.c_str());
        return message;
    }
    return Result<void>{};
}
#endif

} // namespace

Result<void> replaceFileAtomically(const fs::path& path, const std::vector<std::uint8_t>& bytes,
                                   Links links) {
    const auto target = targetOf(path, links);
    if (!target)
        return target.failure();
    // The new file gets the old one's permissions, or the usual ones for a new file.
    const mode_t mode = fs::is_regular_file(target->status)
                            ? static_cast<mode_t>(target->status.permissions() & fs::perms::mask)
                            : newFileMode();
    const auto temporary = writeTemporary(target->path, bytes, mode, fs::exists(target->status));
    if (!temporary)
        return temporary.failure();
    if (::rename(temporary->c_str(), target->path.c_str()) != 0) {
        const Failure message = lastSystemFailure();
        ::unlink(temporary->c_str());
        return message;
    }
    return {};
}

Result<void> createFileAtomically(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
#ifdef __linux__
    if (auto created = createUnnamedThenLink(path, bytes))
        return std::move(*created);
#endif
    const auto temporary = writeTemporary(path, bytes, newFileMode(), false);
    if (!temporary)
        return temporary.failure();
        // Both give the complete file its name only where the name is free, in
        // one step: a rename that may not replace, or else (file systems without
        // it) a second link, after which the temporary name goes.
#ifdef __linux__
    if (::renameat2(AT_FDCWD, temporary->c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0)
        return {};
    // Anything else is an answer: the name is taken, or the folder refused.
    const bool tryLink = errno == EINVAL || errno == ENOSYS || errno == ENOTSUP;
#else
    const bool tryLink = true;
#endif
    if (tryLink && ::link(temporary->c_str(), path.c_str()) == 0) {
        ::unlink(temporary->c_str());
        return {};
    }
    const Failure message =
        errno == EEXIST ? Failure{Failure::Kind::Exists, {}} : lastSystemFailure();
    ::unlink(temporary->c_str());
    return message;
}

#endif

} // namespace orvu

#include "platform/atomic_file.h"

#include "platform/system_failure.h"

#include <system_error>

#ifdef _WIN32
#include "platform/windows_api.h"
#else
#include <cerrno>
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

// The file that writing to `path` must replace: links are followed.
Result<fs::path> resolveTarget(const fs::path& path) {
    std::error_code error;
    const fs::file_status link = fs::symlink_status(path, error);
    if (!error && fs::is_symlink(link)) {
        fs::path target = fs::weakly_canonical(path, error);
        if (error)
            return systemFailure(error);
        return target;
    }
    return path;
}

} // namespace

#ifdef _WIN32

Result<void> replaceFileAtomically(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    const auto target = resolveTarget(path);
    if (!target)
        return target.failure();
    std::error_code error;
    const fs::file_status status = fs::status(*target, error);
    if (fs::exists(status) && !fs::is_regular_file(status))
        return notAFile();

    const auto systemMessage = [] { return lastSystemFailure(); };
    fs::path folder = target->parent_path();
    if (folder.empty())
        folder = L".";
    wchar_t temporary[MAX_PATH + 1] = {};
    if (!GetTempFileNameW(folder.c_str(), L"orv", 0, temporary))
        return systemMessage();
    HANDLE file = CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const Failure message = systemMessage();
        DeleteFileW(temporary);
        return message;
    }
    DWORD written = 0;
    const bool complete =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size() && FlushFileBuffers(file);
    const Failure writeMessage = complete ? Failure{} : systemMessage();
    CloseHandle(file);
    if (!complete) {
        DeleteFileW(temporary);
        return writeMessage;
    }
    if (!MoveFileExW(temporary, target->c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const Failure message = systemMessage();
        DeleteFileW(temporary);
        return message;
    }
    return {};
}

#else

Result<void> replaceFileAtomically(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    const auto target = resolveTarget(path);
    if (!target)
        return target.failure();
    const auto systemMessage = [] { return lastSystemFailure(); };

    struct stat existing {};
    const bool exists = ::stat(target->c_str(), &existing) == 0;
    if (!exists && errno != ENOENT)
        return systemMessage();
    if (exists && !S_ISREG(existing.st_mode))
        return notAFile();

    const fs::path folder = target->has_parent_path() ? target->parent_path() : fs::path(".");
    std::string pattern = (folder / ("." + target->filename().native() + ".XXXXXX")).native();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return systemMessage();
    const auto fail = [&](Failure failure) {
        ::unlink(pattern.c_str());
        return failure;
    };

    // The new file gets the old one's permissions, or the usual ones for a new file.
    mode_t mode = existing.st_mode & 07777;
    if (!exists) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0) {
            const Failure message =
                wrote < 0 ? systemMessage() : Failure{Failure::Kind::System, "write failed"};
            ::close(fd);
            return fail(message);
        }
        done += static_cast<std::size_t>(wrote);
    }
    if (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0) {
        const Failure message = systemMessage();
        ::close(fd);
        return fail(message);
    }
    if (::close(fd) != 0)
        return fail(systemMessage());
    if (::rename(pattern.c_str(), target->c_str()) != 0)
        return fail(systemMessage());
    return {};
}

#endif

} // namespace orvu

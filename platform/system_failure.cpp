#include "platform/system_failure.h"

#ifdef _WIN32
#include "platform/windows_api.h"
#endif
#include <cerrno>

namespace orvu {

Failure lastSystemFailure() {
#ifdef _WIN32
    return systemFailure(std::error_code(static_cast<int>(GetLastError()), std::system_category()));
#else
    return systemFailure(std::error_code(errno, std::generic_category()));
#endif
}

Failure systemFailure(const std::error_code& error) {
    return {Failure::Kind::System, error.message(), error.value()};
}

SystemReason systemReasonOf(int systemError) {
    switch (systemError) {
#ifdef _WIN32
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return SystemReason::Missing;
    case ERROR_ACCESS_DENIED:
        return SystemReason::NoPermission;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return SystemReason::DiskFull;
    case ERROR_WRITE_PROTECT:
        return SystemReason::ReadOnly;
    case ERROR_FILENAME_EXCED_RANGE:
        return SystemReason::NameTooLong;
#else
    case ENOENT:
        return SystemReason::Missing;
    case EACCES:
    case EPERM:
        return SystemReason::NoPermission;
    case ENOSPC:
    case EDQUOT:
        return SystemReason::DiskFull;
    case EROFS:
        return SystemReason::ReadOnly;
    case ENAMETOOLONG:
        return SystemReason::NameTooLong;
    case EISDIR:
        return SystemReason::IsAFolder;
#endif
    default:
        return SystemReason::Other;
    }
}

} // namespace orvu

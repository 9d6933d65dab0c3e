#include "platform/system_failure.h"

#ifdef _WIN32
#include "platform/windows_api.h"
#else
#include <cerrno>
#endif

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

} // namespace orvu

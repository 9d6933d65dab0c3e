#include "platform/write_all.h"

#ifndef _WIN32

#include "platform/system_failure.h"

#include <cerrno>
#include <unistd.h>

namespace orvu {

Result<void> writeAll(int fd, const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return wrote < 0 ? lastSystemFailure() : Failure{Failure::Kind::System, "write failed"};
        done += static_cast<std::size_t>(wrote);
    }
    return {};
}

} // namespace orvu

#endif

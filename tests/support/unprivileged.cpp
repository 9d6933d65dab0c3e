#include "support/unprivileged.h"

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace orvu::test {

#ifdef _WIN32

// Windows has no root to give up; permissions are whatever the user has.
bool runWithoutPrivileges(const std::function<bool()>& check) {
    return check();
}

#else

bool runWithoutPrivileges(const std::function<bool()>& check) {
    if (::geteuid() != 0)
        return check();
    constexpr uid_t Nobody = 65534;
    const pid_t child = ::fork();
    if (child < 0)
        return false;
    if (child == 0) {
        const bool dropped = ::setgid(Nobody) == 0 && ::setuid(Nobody) == 0;
        ::_exit(dropped && check() ? 0 : 1);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child)
        return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

#endif

} // namespace orvu::test

#pragma once

#include <functional>

namespace orvu::test {

// Runs `check` where file permissions bind: directly for an ordinary user;
// for root, in a child process that has given up root for the unprivileged
// user "nobody". Returns what `check` returned (false if the child failed).
bool runWithoutPrivileges(const std::function<bool()>& check);

} // namespace orvu::test

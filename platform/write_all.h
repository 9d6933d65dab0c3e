#pragma once

#ifndef _WIN32

#include "icons/result.h"

#include <cstdint>
#include <vector>

namespace orvu {

// Writes every byte to the open file `fd`, however many writes that takes.
Result<void> writeAll(int fd, const std::vector<std::uint8_t>& bytes);

} // namespace orvu

#endif

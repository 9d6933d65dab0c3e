#pragma once

#include "icons/result.h"

#include <system_error>

namespace orvu {

// The failure that the system's last error describes: errno, or
// GetLastError() on Windows, in the system's own words.
Failure lastSystemFailure();
Failure systemFailure(const std::error_code& error);

} // namespace orvu

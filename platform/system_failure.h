#pragma once

#include "icons/result.h"

#include <system_error>

namespace orvu {

// The failure that the system's last error describes: errno, or
// GetLastError() on Windows, in the system's own words.
Failure lastSystemFailure();
Failure systemFailure(const std::error_code& error);

// The reasons a person meets most, by the system's error number
// (Failure::systemError); Other for the rest.
enum class SystemReason { Other, Missing, NoPermission, DiskFull, ReadOnly, NameTooLong, IsAFolder };
SystemReason systemReasonOf(int systemError);

} // namespace orvu

#pragma once

// The module's exceptions, and the one way a failed call of the C interface
// becomes one of them.

#include "orvu-icons.h"

#include <pybind11/pybind11.h>
#include <string>

namespace orvu::python {

// Adds Error and its subclasses to the module.
void addErrors(pybind11::module_& module);

// What a failed call left behind, taken in the thread that made it.
struct CallFailure {
    orvu_icons_status status = ORVU_ICONS_OK;
    std::string message;
    int systemError = 0;

    static CallFailure last(orvu_icons_status status);
};

// Raises the exception for `failure`; `filename` (or None) goes with an OSError.
[[noreturn]] void raise(const CallFailure& failure, const pybind11::object& filename);

} // namespace orvu::python

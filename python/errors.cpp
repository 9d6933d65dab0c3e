#include "errors.h"

#include <cerrno>

namespace py = pybind11;

namespace orvu::python {
namespace {

struct ErrorClass {
    const char* name;
    PyObject* builtin; // the second base, or null
    const char* doc;
    PyObject* type = nullptr;
};

// Indexed by orvu_icons_status. The builtin base lets callers catch them as
// they would Python's own: a missing index as an IndexError, and so on.
ErrorClass errorClasses[] = {
    {"Error", nullptr, "Any failure of the icon reader; the message says why."},
    {"", nullptr, ""}, // ORVU_ICONS_SYSTEM_ERROR: Python's own OSError
    {"NotAFileError", PyExc_OSError, "A folder, device, FIFO or socket where a file was wanted."},
    {"NotIconFileError", PyExc_ValueError,
     "The data is neither a PE or NE executable nor an icon file."},
    {"DamagedError", PyExc_ValueError,
     "A structure of the file runs past its data or holds a value no valid file has."},
    {"LimitError", PyExc_ValueError,
     "A size past one of the reader's limits: an image over 8 MiB, more than 64 MiB read from "
     "one file, or more pixels decoded from one file than 32 images of 1024 x 1024."},
    {"NoSuchIconError", PyExc_IndexError,
     "An icon or image the file doesn't hold: past the end, or listed and missing."},
    {"", nullptr, ""}, // ORVU_ICONS_INVALID_ARGUMENT: Python's own ValueError
    {"", nullptr, ""}, // ORVU_ICONS_OUT_OF_MEMORY: Python's own MemoryError
    {"UnresolvedError", PyExc_ValueError,
     "An icon reference or shortcut that can't be followed: a Windows path and no Windows "
     "root, an environment variable it doesn't know, shortcuts in a loop."},
};

} // namespace

void addErrors(py::module_& module) {
    ErrorClass& base = errorClasses[0];
    base.type = PyErr_NewExceptionWithDoc("orvu_icons.Error", base.doc, PyExc_Exception, nullptr);
    if (!base.type)
        throw py::error_already_set();
    module.add_object("Error", py::handle(base.type));
    for (std::size_t i = 2; i < std::size(errorClasses); ++i) {
        ErrorClass& error = errorClasses[i];
        if (!error.builtin)
            continue; // a status Python's own exceptions stand for
        const py::tuple bases = py::make_tuple(py::handle(base.type), py::handle(error.builtin));
        const std::string qualified = std::string("orvu_icons.") + error.name;
        error.type = PyErr_NewExceptionWithDoc(qualified.c_str(), error.doc, bases.ptr(), nullptr);
        if (!error.type)
            throw py::error_already_set();
        module.add_object(error.name, py::handle(error.type));
    }
}

CallFailure CallFailure::last(orvu_icons_status status) {
    return {status, orvu_icons_last_message(), orvu_icons_last_system_error()};
}

void raise(const CallFailure& failure, const py::object& filename) {
    switch (failure.status) {
    case ORVU_ICONS_SYSTEM_ERROR:
        if (failure.systemError != 0) {
            // FileNotFoundError, PermissionError, … as open() raises them.
            errno = failure.systemError;
            PyErr_SetFromErrnoWithFilenameObject(PyExc_OSError,
                                                 filename.is_none() ? nullptr : filename.ptr());
        } else {
            PyErr_SetString(PyExc_OSError, failure.message.c_str());
        }
        break;
    case ORVU_ICONS_INVALID_ARGUMENT:
        PyErr_SetString(PyExc_ValueError, failure.message.c_str());
        break;
    case ORVU_ICONS_OUT_OF_MEMORY:
        PyErr_SetString(PyExc_MemoryError, failure.message.c_str());
        break;
    default: {
        const auto index = static_cast<std::size_t>(failure.status);
        PyObject* type = index < std::size(errorClasses) && errorClasses[index].type
                             ? errorClasses[index].type
                             : errorClasses[0].type;
        PyErr_SetString(type, failure.message.c_str());
        break;
    }
    }
    throw py::error_already_set();
}

} // namespace orvu::python

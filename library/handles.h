#pragma once

// What the C interface's opaque handles hold, and the one way each call
// turns a Failure, a C++ exception or a bad argument into a status.

#include "icons/icon_library.h"
#include "icons/result.h"
#include "orvu-icons.h"

#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <vector>

struct orvu_icons_file {
    explicit orvu_icons_file(orvu::IconLibrary opened) : library(std::move(opened)) {}

    // Holds the file for one call: calls on one handle take turns (the
    // library reads through one cache), and each is a request of its own,
    // whose cost the reader's limits bound whatever calls came before.
    std::unique_lock<std::mutex> call() {
        std::unique_lock lock(mutex);
        library.startRequest();
        return lock;
    }

    std::mutex mutex;
    orvu::IconLibrary library;
    // Where the icons are read from (none for bytes in memory), and the
    // icon a reference named.
    std::optional<std::string> sourcePath;
    std::optional<std::uint32_t> referencedIcon;
};

struct orvu_icons_icon {
    std::uint32_t index = 0; // among the groups of its kind
    orvu::GroupKind kind = orvu::GroupKind::Icon;
    orvu::IconName name;
    std::vector<orvu::ChoiceKey> keys;          // for the choice of image by size
    std::vector<orvu::ImageDescription> images; // in directory order
};

namespace orvu::c_api {

// Records why a call failed for orvu_icons_last_message() and returns its status.
orvu_icons_status fail(const Failure& failure);
orvu_icons_status fail(orvu_icons_status status, std::string message);
orvu_icons_status invalidArgument(const char* what);

// `call()` with every exception turned into a status: none crosses the
// C interface.
template <typename Call> orvu_icons_status guarded(Call&& call) noexcept {
    try {
        return call();
    } catch (const std::bad_alloc&) {
        return fail(ORVU_ICONS_OUT_OF_MEMORY, "out of memory");
    } catch (const std::exception& error) {
        return fail(ORVU_ICONS_OUT_OF_MEMORY, error.what());
    } catch (...) {
        return fail(ORVU_ICONS_OUT_OF_MEMORY, "an unexpected error");
    }
}

// `bytes` copied into a buffer that orvu_icons_free() frees.
orvu_icons_status handOver(const std::vector<std::uint8_t>& bytes, std::uint8_t** data,
                           std::size_t* size);

// Whether icons are shown at `size` pixels.
bool shownSize(int size);

// The group `kind` names, or nullopt for a value that names no kind. Taken
// by reference and read as the number a caller of any language passed: a
// value outside the enumeration may not be loaded as one.
std::optional<GroupKind> groupKind(const orvu_icons_kind& kind);
orvu_icons_kind kindValue(GroupKind kind);

} // namespace orvu::c_api

#include "library/handles.h"

#include "icons/image_choice.h"

#include <cstdlib>
#include <cstring>

namespace orvu::c_api {
namespace {

struct LastFailure {
    std::string message;
    int systemError = 0;
};

thread_local LastFailure lastFailure;

orvu_icons_status statusOf(Failure::Kind kind) {
    switch (kind) {
    case Failure::Kind::System:
    case Failure::Kind::Exists:
    case Failure::Kind::Changed:
        return ORVU_ICONS_SYSTEM_ERROR;
    case Failure::Kind::NotAFile:
    case Failure::Kind::NotAFolder:
        return ORVU_ICONS_NOT_A_FILE;
    case Failure::Kind::NotIconFile:
        return ORVU_ICONS_NOT_ICON_FILE;
    case Failure::Kind::Damaged:
        return ORVU_ICONS_DAMAGED;
    case Failure::Kind::OverLimit:
        return ORVU_ICONS_OVER_LIMIT;
    case Failure::Kind::NoSuchIcon:
        return ORVU_ICONS_NO_SUCH_ICON;
    case Failure::Kind::Unresolved:
        return ORVU_ICONS_UNRESOLVED;
    }
    return ORVU_ICONS_DAMAGED;
}

} // namespace

orvu_icons_status fail(orvu_icons_status status, std::string message) {
    lastFailure.message = std::move(message);
    lastFailure.systemError = 0;
    return status;
}

orvu_icons_status fail(const Failure& failure) {
    const orvu_icons_status status = fail(statusOf(failure.kind), describe(failure));
    lastFailure.systemError = failure.kind == Failure::Kind::System ? failure.systemError : 0;
    return status;
}

orvu_icons_status invalidArgument(const char* what) {
    return fail(ORVU_ICONS_INVALID_ARGUMENT, what);
}

orvu_icons_status handOver(const std::vector<std::uint8_t>& bytes, std::uint8_t** data,
                           std::size_t* size) {
    // malloc(0) may give NULL: a buffer has at least one byte.
    auto* buffer = static_cast<std::uint8_t*>(std::malloc(bytes.empty() ? 1 : bytes.size()));
    if (!buffer)
        return fail(ORVU_ICONS_OUT_OF_MEMORY, "out of memory");
    if (!bytes.empty())
        std::memcpy(buffer, bytes.data(), bytes.size());
    *data = buffer;
    *size = bytes.size();
    return ORVU_ICONS_OK;
}

bool shownSize(int size) {
    return size >= 1 && size <= MaxShownSize;
}

std::optional<GroupKind> groupKind(const orvu_icons_kind& kind) {
    int number = 0;
    static_assert(sizeof number == sizeof kind);
    std::memcpy(&number, &kind, sizeof number);
    switch (number) {
    case ORVU_ICONS_KIND_ICON:
        return GroupKind::Icon;
    case ORVU_ICONS_KIND_CURSOR:
        return GroupKind::Cursor;
    case ORVU_ICONS_KIND_ANIMATED:
        return GroupKind::Animated;
    }
    return std::nullopt;
}

orvu_icons_kind kindValue(GroupKind kind) {
    switch (kind) {
    case GroupKind::Icon:
        break;
    case GroupKind::Cursor:
        return ORVU_ICONS_KIND_CURSOR;
    case GroupKind::Animated:
        return ORVU_ICONS_KIND_ANIMATED;
    }
    return ORVU_ICONS_KIND_ICON;
}

} // namespace orvu::c_api

extern "C" {

const char* orvu_icons_last_message(void) {
    return orvu::c_api::lastFailure.message.c_str();
}

int orvu_icons_last_system_error(void) {
    return orvu::c_api::lastFailure.systemError;
}

void orvu_icons_free(void* buffer) {
    std::free(buffer);
}

} // extern "C"

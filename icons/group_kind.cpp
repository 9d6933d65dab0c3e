#include "icons/group_kind.h"

namespace orvu {

const char* kindName(GroupKind kind) {
    switch (kind) {
    case GroupKind::Icon:
        return "icon";
    case GroupKind::Cursor:
        return "cursor";
    case GroupKind::Animated:
        return "animated";
    }
    return "icon";
}

} // namespace orvu

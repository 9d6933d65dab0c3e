#pragma once

// For tests that link platform/.

#include "platform/text_case.h"

#include <string_view>

namespace orvu::test {

// Orders names as a case-insensitive listing does (FolderLister): by their
// keys, ties broken by the names' own bytes.
inline bool lessIgnoringCase(std::string_view a, std::string_view b) {
    const std::string keyA = caseInsensitiveKey(a);
    const std::string keyB = caseInsensitiveKey(b);
    if (keyA != keyB)
        return keyA < keyB;
    return a < b;
}

} // namespace orvu::test

#include "support/sha256.h"

#include "icons/sha256.h"

namespace orvu::test {

std::string sha256Hex(const std::vector<std::uint8_t>& bytes) {
    return orvu::sha256Hex(Bytes(bytes));
}

} // namespace orvu::test

#include "icons/result.h"

namespace orvu {

std::string hexOffset(std::uint64_t offset) {
    static constexpr char Digits[] = "0123456789abcdef";
    std::string digits;
    do {
        digits.insert(digits.begin(), Digits[offset & 0xF]);
        offset >>= 4;
    } while (offset != 0);
    return "0x" + digits;
}

std::string describe(const Failure& failure) {
    const auto with = [&](const char* what) {
        return failure.detail.empty() ? std::string(what) : what + (": " + failure.detail);
    };
    switch (failure.kind) {
    case Failure::Kind::System:
        return failure.detail.empty() ? "system error" : failure.detail;
    case Failure::Kind::NotAFile:
        return with("not a regular file");
    case Failure::Kind::NotAFolder:
        return with("not a folder");
    case Failure::Kind::NotIconFile:
        return with("not an executable or icon file");
    case Failure::Kind::Damaged:
        return with("damaged");
    case Failure::Kind::OverLimit:
        return with("too large");
    case Failure::Kind::NoSuchIcon:
        return with("no such icon");
    case Failure::Kind::Exists:
        return with("already exists");
    case Failure::Kind::Changed:
        return with("changed since it was read");
    case Failure::Kind::Unresolved:
        return with("cannot be followed");
    }
    return failure.detail;
}

} // namespace orvu

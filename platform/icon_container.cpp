#include "icon_container.h"

#include "icon_file.h"
#include "ne_resources.h"
#include "pe_resources.h"

#include <algorithm>

namespace orvu {
namespace {

constexpr std::uint16_t DosSignature = 0x5A4D;   // "MZ"
constexpr std::uint32_t PeSignature = 0x4550;    // "PE\0\0"
constexpr std::uint16_t NeSignature = 0x454E;    // "NE"
constexpr std::uint64_t NewHeaderPointer = 0x3C; // e_lfanew
constexpr std::uint16_t IconFileType = 1;

} // namespace

std::unique_ptr<IconContainer> openIconContainer(ByteSource& source) {
    const auto start = source.read(0, std::min<std::uint64_t>(source.size(), 64), 64);
    if (!start)
        return nullptr;
    const ByteView head(*start);

    if (head.u16(0) != DosSignature) {
        if (head.u16(2) == IconFileType)
            return IconFile::open(source, head);
        return nullptr;
    }

    const auto newHeader = head.u32(NewHeaderPointer);
    if (!newHeader || *newHeader >= source.size())
        return nullptr;
    const auto signature =
        source.read(*newHeader, std::min<std::uint64_t>(4, source.size() - *newHeader), 4);
    if (!signature)
        return nullptr;
    const ByteView sig(*signature);
    if (sig.u32(0) == PeSignature)
        return PeResources::open(source, *newHeader);
    if (sig.u16(0) == NeSignature)
        return NeResources::open(source, *newHeader);
    return nullptr;
}

} // namespace orvu

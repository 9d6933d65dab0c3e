#include "icons/shell_link.h"

#include "icons/limits.h"
#include "icons/utf8.h"

#include <array>

namespace orvu {
namespace {

// The records of a shell link, as offsets of their fields (MS-SHLLINK).

// ShellLinkHeader.
namespace LinkHeader {
constexpr std::uint64_t HeaderSize = 0; // always 0x4C
constexpr std::uint64_t LinkClsid = 4;
constexpr std::uint64_t LinkFlags = 20;
constexpr std::uint64_t IconIndex = 56;
constexpr std::uint32_t Size = 0x4C;
// 00021401-0000-0000-C000-000000000046, as a GUID is stored.
constexpr std::array<std::uint8_t, 16> Clsid = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                                0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
} // namespace LinkHeader

// The header's LinkFlags: which structures follow it.
namespace LinkFlags {
constexpr std::uint32_t HasLinkTargetIdList = 0x1;
constexpr std::uint32_t HasLinkInfo = 0x2;
constexpr std::uint32_t HasName = 0x4;
constexpr std::uint32_t HasRelativePath = 0x8;
constexpr std::uint32_t HasWorkingDir = 0x10;
constexpr std::uint32_t HasArguments = 0x20;
constexpr std::uint32_t HasIconLocation = 0x40;
constexpr std::uint32_t IsUnicode = 0x80;
constexpr std::uint32_t ForceNoLinkInfo = 0x100;
constexpr std::uint32_t HasExpString = 0x200;
constexpr std::uint32_t HasExpIcon = 0x4000;
} // namespace LinkFlags

// LinkTargetIDList: IDListSize, then the ItemIDs, each its size first, up to
// one of size 0.
namespace ItemId {
constexpr std::uint64_t Size = 0; // the whole item's, these two bytes included
constexpr std::uint64_t Type = 2; // shell items: what the item is
// A volume item (type 0x2?): its drive, "C:\", in ASCII.
constexpr std::uint8_t VolumeType = 0x20;
constexpr std::uint64_t VolumeName = 3;
// A file entry item (type 0x3?): its primary name, ASCII or (with the
// UnicodeName bit of its type) UTF-16, then extension blocks.
constexpr std::uint8_t FileEntryType = 0x30;
constexpr std::uint8_t TypeClass = 0x70;
constexpr std::uint8_t UnicodeName = 0x04;
constexpr std::uint64_t PrimaryName = 14;
} // namespace ItemId

// A file entry's extension block 0xBEEF0004, which holds its long name.
namespace FileEntryExtension {
constexpr std::uint64_t Version = 2;
constexpr std::uint64_t Signature = 4;
constexpr std::uint32_t SignatureValue = 0xBEEF0004;
// Where the long name starts, by the block's version (Windows XP's 3,
// Vista's 7, 7's 8, 8.1's and 10's 9).
constexpr std::uint64_t longNameAt(std::uint16_t version) {
    return version >= 9 ? 46 : version == 8 ? 42 : version == 7 ? 38 : 20;
}
constexpr std::uint16_t FirstVersionWithLongName = 3;
} // namespace FileEntryExtension

// LinkInfo.
namespace LinkInfo {
constexpr std::uint64_t Size = 0;
constexpr std::uint64_t HeaderSize = 4;
constexpr std::uint64_t Flags = 8;
constexpr std::uint64_t LocalBasePathOffset = 16;
constexpr std::uint64_t CommonNetworkRelativeLinkOffset = 20;
constexpr std::uint64_t CommonPathSuffixOffset = 24;
constexpr std::uint64_t LocalBasePathOffsetUnicode = 28;
constexpr std::uint64_t CommonPathSuffixOffsetUnicode = 32;
constexpr std::uint32_t MinimumHeaderSize = 0x1C;
constexpr std::uint32_t UnicodeHeaderSize = 0x24; // from this size on, the Unicode offsets
constexpr std::uint32_t VolumeIdAndLocalBasePath = 0x1;
constexpr std::uint32_t CommonNetworkRelativeLinkAndPathSuffix = 0x2;
} // namespace LinkInfo

// CommonNetworkRelativeLink, inside LinkInfo.
namespace NetworkLink {
constexpr std::uint64_t Size = 0;
constexpr std::uint64_t NetNameOffset = 8;
constexpr std::uint64_t NetNameOffsetUnicode = 20;
constexpr std::uint32_t MinimumSize = 0x14; // a NetNameOffset past it: the Unicode offsets follow
} // namespace NetworkLink

// ExtraData: blocks, each its size and signature first, up to a terminal
// block of a size under 4.
namespace ExtraDataBlock {
constexpr std::uint64_t Size = 0;
constexpr std::uint64_t Signature = 4;
constexpr std::uint32_t TerminalBelow = 4;
constexpr std::uint32_t HeaderSize = 8;
} // namespace ExtraDataBlock

// EnvironmentVariableDataBlock and IconEnvironmentDataBlock: a path with
// environment variables, in ANSI and in UTF-16, each NUL-terminated in a
// field of MAX_PATH characters.
namespace EnvironmentBlock {
constexpr std::uint32_t Size = 0x314;
constexpr std::uint32_t TargetSignature = 0xA0000001;
constexpr std::uint32_t IconSignature = 0xA0000007;
constexpr std::uint64_t TargetAnsi = 8;
constexpr std::uint64_t TargetAnsiSize = 260;
constexpr std::uint64_t TargetUnicode = 268;
constexpr std::uint64_t TargetUnicodeSize = 520;
} // namespace EnvironmentBlock

// The bytes from `offset` up to the first NUL (of `unit` bytes) within the
// view; nullopt where there is none.
std::optional<ByteView> untilNul(ByteView view, std::uint64_t offset, std::uint64_t unit) {
    for (std::uint64_t at = offset; view.contains(at, unit); at += unit) {
        if (unit == 1 ? view.u8(at) == 0 : view.u16(at) == 0)
            return view.sub(offset, at - offset);
    }
    return std::nullopt;
}

std::optional<std::string> ansiString(ByteView view, std::uint64_t offset) {
    const auto text = untilNul(view, offset, 1);
    return text ? std::optional(latin1ToUtf8(*text)) : std::nullopt;
}

std::optional<std::string> unicodeString(ByteView view, std::uint64_t offset) {
    const auto text = untilNul(view, offset, 2);
    return text ? std::optional(utf16ToUtf8(*text)) : std::nullopt;
}

std::optional<std::string> nonEmpty(std::optional<std::string> text) {
    if (text && text->empty())
        return std::nullopt;
    return text;
}

// Joins Windows path parts with one backslash between them.
std::string joined(std::string base, const std::string& suffix) {
    if (suffix.empty())
        return base;
    if (!base.empty() && base.back() != '\\')
        base += '\\';
    return base + suffix;
}

// The path an ID list spells: a volume item ("C:\") and then only file
// entry items, each by its long name where its extension block has one.
// Nullopt for any other list (a control panel item, a network place).
std::optional<std::string> idListPath(ByteView list) {
    std::string path;
    bool volume = false;
    for (std::uint64_t at = 0;;) {
        const auto size = list.u16(at + ItemId::Size);
        if (!size || *size == 0)
            break;
        const auto item = list.sub(at, *size);
        const auto type = item ? item->u8(ItemId::Type) : std::nullopt;
        if (!type)
            return std::nullopt;
        at += *size;
        if ((*type & ItemId::TypeClass) == ItemId::VolumeType) {
            const auto drive = ansiString(*item, ItemId::VolumeName);
            if (volume || !drive || drive->size() < 2 || (*drive)[1] != ':')
                return std::nullopt;
            path = *drive;
            volume = true;
            continue;
        }
        if ((*type & ItemId::TypeClass) != ItemId::FileEntryType) {
            if (volume) // a file system item after the drive we don't know
                return std::nullopt;
            continue; // the root: "My Computer"
        }
        if (!volume)
            return std::nullopt;
        const bool unicode = (*type & ItemId::UnicodeName) != 0;
        const auto primary = untilNul(*item, ItemId::PrimaryName, unicode ? 2 : 1);
        if (!primary)
            return std::nullopt;
        std::string name = unicode ? utf16ToUtf8(*primary) : latin1ToUtf8(*primary);
        // The extension block starts at the next even offset after the name.
        std::uint64_t block = ItemId::PrimaryName + primary->size() + (unicode ? 2 : 1);
        block += block % 2;
        const auto version = item->u16(block + FileEntryExtension::Version);
        if (item->u32(block + FileEntryExtension::Signature) ==
                FileEntryExtension::SignatureValue &&
            version && *version >= FileEntryExtension::FirstVersionWithLongName) {
            if (auto longName =
                    unicodeString(*item, block + FileEntryExtension::longNameAt(*version));
                longName && !longName->empty())
                name = std::move(*longName);
        }
        path = joined(path, name);
    }
    return volume ? std::optional(path) : std::nullopt;
}

// LinkInfo's local path, or its network path.
std::optional<std::string> linkInfoPath(ByteView info) {
    const std::uint32_t headerSize = *info.u32(LinkInfo::HeaderSize);
    const std::uint32_t flags = *info.u32(LinkInfo::Flags);
    const bool unicode = headerSize >= LinkInfo::UnicodeHeaderSize;
    const auto string = [&](std::uint64_t ansiField, std::uint64_t unicodeField) {
        const auto wide = unicode ? info.u32(unicodeField) : std::nullopt;
        if (wide && *wide != 0)
            return unicodeString(info, *wide);
        const auto narrow = info.u32(ansiField);
        return narrow ? ansiString(info, *narrow) : std::nullopt;
    };
    const std::string suffix =
        string(LinkInfo::CommonPathSuffixOffset, LinkInfo::CommonPathSuffixOffsetUnicode)
            .value_or("");
    if (flags & LinkInfo::VolumeIdAndLocalBasePath) {
        if (const auto base = nonEmpty(
                string(LinkInfo::LocalBasePathOffset, LinkInfo::LocalBasePathOffsetUnicode)))
            return joined(*base, suffix);
    }
    if (flags & LinkInfo::CommonNetworkRelativeLinkAndPathSuffix) {
        const auto at = info.u32(LinkInfo::CommonNetworkRelativeLinkOffset);
        const auto size = at ? info.u32(*at + NetworkLink::Size) : std::nullopt;
        const auto network = size ? info.sub(*at, *size) : std::nullopt;
        if (!network)
            return std::nullopt;
        const auto netName = network->u32(NetworkLink::NetNameOffset);
        std::optional<std::string> share;
        if (netName && *netName > NetworkLink::MinimumSize)
            if (const auto wide = network->u32(NetworkLink::NetNameOffsetUnicode))
                share = unicodeString(*network, *wide);
        if (!share && netName)
            share = ansiString(*network, *netName);
        if (nonEmpty(share))
            return joined(*share, suffix);
    }
    return std::nullopt;
}

// The path of an environment block: its Unicode field, or its ANSI one.
std::optional<std::string> environmentPath(ByteView block) {
    const auto wide =
        block.sub(EnvironmentBlock::TargetUnicode, EnvironmentBlock::TargetUnicodeSize);
    if (auto path = wide ? nonEmpty(unicodeString(*wide, 0)) : std::nullopt)
        return path;
    const auto narrow = block.sub(EnvironmentBlock::TargetAnsi, EnvironmentBlock::TargetAnsiSize);
    return narrow ? nonEmpty(ansiString(*narrow, 0)) : std::nullopt;
}

} // namespace

std::vector<std::string> ShellLink::iconFiles() const {
    std::vector<std::string> files;
    for (const auto* file : {&iconEnvironment, &iconLocation})
        if (*file)
            files.push_back(**file);
    return files;
}

std::vector<std::string> ShellLink::targets() const {
    std::vector<std::string> paths;
    for (const auto* path : {&targetEnvironment, &linkInfoPath, &idListPath, &relativePath})
        if (*path)
            paths.push_back(**path);
    return paths;
}

bool isShellLinkHeader(ByteView head) {
    const auto clsid = head.sub(LinkHeader::LinkClsid, LinkHeader::Clsid.size());
    return head.u32(LinkHeader::HeaderSize) == LinkHeader::Size && clsid &&
           clsid->startsWith(LinkHeader::Clsid);
}

Result<ShellLink> readShellLink(ByteSource& source) {
    auto bytes = source.read(0, source.size(), limits::MaxShortcutBytes, "shell link");
    if (!bytes)
        return bytes.failure();
    const ByteView link(*bytes);
    if (!isShellLinkHeader(link) || !link.contains(0, LinkHeader::Size))
        return damaged("the shell link header");
    ShellLink result;
    const std::uint32_t flags = *link.u32(LinkHeader::LinkFlags);
    result.iconIndex = *link.i32(LinkHeader::IconIndex);
    std::uint64_t at = LinkHeader::Size;

    if (flags & LinkFlags::HasLinkTargetIdList) {
        const auto size = link.u16(at);
        const auto list = size ? link.sub(at + 2, *size) : std::nullopt;
        if (!list)
            return damaged("the LinkTargetIDList at " + hexOffset(at) +
                           " runs past the end of the file");
        result.idListPath = idListPath(*list);
        at += 2 + *size;
    }
    if (flags & LinkFlags::HasLinkInfo) {
        const auto size = link.u32(at + LinkInfo::Size);
        const auto info = size ? link.sub(at, *size) : std::nullopt;
        if (!info || *size < LinkInfo::MinimumHeaderSize ||
            *info->u32(LinkInfo::HeaderSize) > *size)
            return damaged("the LinkInfo at " + hexOffset(at) + " runs past its data");
        if (!(flags & LinkFlags::ForceNoLinkInfo))
            result.linkInfoPath = linkInfoPath(*info);
        at += *size;
    }
    // StringData, in this order, each as its flag says.
    const bool unicode = flags & LinkFlags::IsUnicode;
    for (const std::uint32_t field :
         {LinkFlags::HasName, LinkFlags::HasRelativePath, LinkFlags::HasWorkingDir,
          LinkFlags::HasArguments, LinkFlags::HasIconLocation}) {
        if (!(flags & field))
            continue;
        const auto count = link.u16(at);
        const auto text =
            count ? link.sub(at + 2, std::uint64_t{*count} * (unicode ? 2 : 1)) : std::nullopt;
        if (!text)
            return damaged("the link's strings at " + hexOffset(at) +
                           " run past the end of the file");
        at += 2 + text->size();
        std::string value = unicode ? utf16ToUtf8(*text) : latin1ToUtf8(*text);
        if (field == LinkFlags::HasRelativePath)
            result.relativePath = nonEmpty(std::move(value));
        else if (field == LinkFlags::HasIconLocation)
            result.iconLocation = nonEmpty(std::move(value));
    }
    // ExtraData, as far as its blocks are whole.
    while (true) {
        const auto size = link.u32(at + ExtraDataBlock::Size);
        if (!size || *size < ExtraDataBlock::TerminalBelow)
            break;
        const auto block = link.sub(at, *size);
        if (!block || *size < ExtraDataBlock::HeaderSize)
            break;
        const std::uint32_t signature = *block->u32(ExtraDataBlock::Signature);
        if (*size == EnvironmentBlock::Size) {
            if (signature == EnvironmentBlock::TargetSignature && (flags & LinkFlags::HasExpString))
                result.targetEnvironment = environmentPath(*block);
            else if (signature == EnvironmentBlock::IconSignature &&
                     (flags & LinkFlags::HasExpIcon))
                result.iconEnvironment = environmentPath(*block);
        }
        at += *size;
    }
    return result;
}

} // namespace orvu

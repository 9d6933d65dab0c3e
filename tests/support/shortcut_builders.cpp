#include "support/shortcut_builders.h"

#include "icons/byte_writer.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <stdexcept>

namespace orvu::test {
namespace {

// UTF-8 as code points (the tests' texts are well-formed).
std::u32string codePoints(const std::string& text) {
    std::u32string points;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<std::uint8_t>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length && i + k < text.size(); ++k)
            c = c << 6 | (static_cast<std::uint8_t>(text[i + k]) & 0x3F);
        points.push_back(c);
        i += length;
    }
    return points;
}

ByteVector utf16(const std::string& text, bool terminated) {
    ByteVector bytes;
    for (const char32_t c : codePoints(text)) {
        if (c >= 0x10000) {
            appendU16(bytes, static_cast<std::uint16_t>(0xD800 + ((c - 0x10000) >> 10)));
            appendU16(bytes, static_cast<std::uint16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            appendU16(bytes, static_cast<std::uint16_t>(c));
        }
    }
    if (terminated)
        appendU16(bytes, 0);
    return bytes;
}

ByteVector latin1(const std::string& text, bool terminated) {
    ByteVector bytes;
    for (const char32_t c : codePoints(text))
        bytes.push_back(static_cast<std::uint8_t>(c < 0x100 ? c : '?'));
    if (terminated)
        bytes.push_back(0);
    return bytes;
}

void writeFile(const std::filesystem::path& path, const ByteVector& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

void append(ByteVector& bytes, const ByteVector& more) {
    bytes.insert(bytes.end(), more.begin(), more.end());
}

// MS-SHLLINK's flags and signatures.
constexpr std::uint32_t HasLinkTargetIdList = 0x1;
constexpr std::uint32_t HasLinkInfo = 0x2;
constexpr std::uint32_t HasName = 0x4;
constexpr std::uint32_t HasRelativePath = 0x8;
constexpr std::uint32_t HasArguments = 0x20;
constexpr std::uint32_t HasIconLocation = 0x40;
constexpr std::uint32_t IsUnicode = 0x80;
constexpr std::uint32_t ForceNoLinkInfo = 0x100;
constexpr std::uint32_t HasExpString = 0x200;
constexpr std::uint32_t HasExpIcon = 0x4000;
constexpr std::uint32_t EnvironmentBlockSize = 0x314;
constexpr std::uint32_t TargetEnvironmentSignature = 0xA0000001;
constexpr std::uint32_t IconEnvironmentSignature = 0xA0000007;
constexpr std::array<std::uint8_t, 16> LinkClsid = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                                    0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
// {20D04FE0-3AEA-1069-A2D8-08002B30309D}: My Computer.
constexpr std::array<std::uint8_t, 16> MyComputer = {
    0xE0, 0x4F, 0xD0, 0x20, 0xEA, 0x3A, 0x69, 0x10, 0xA2, 0xD8, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D};

ByteVector item(const ByteVector& data) {
    ByteVector bytes;
    appendU16(bytes, static_cast<std::uint16_t>(data.size() + 2));
    append(bytes, data);
    return bytes;
}

// A file entry item: type 0x32 (a file) or 0x31 (a folder), its primary
// name, then the 0xBEEF0004 block with the long name. A name that is not
// ASCII has its whole self as the primary name, in UTF-16 (type bit 0x04).
ByteVector fileEntry(const std::string& name, bool folder, std::uint16_t version) {
    const bool unicode = std::any_of(name.begin(), name.end(),
                                     [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    ByteVector data = {static_cast<std::uint8_t>((folder ? 0x31 : 0x32) | (unicode ? 0x04 : 0)), 0};
    data.resize(12, 0); // file size, date and time, attributes
    std::string primary = name.substr(0, 8);
    std::transform(primary.begin(), primary.end(), primary.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
    append(data, unicode ? utf16(name, true) : latin1(primary, true));
    if (data.size() % 2) // the block starts at an even offset of the item
        data.push_back(0);
    const std::uint64_t nameAt = version >= 9 ? 46 : version == 8 ? 42 : version == 7 ? 38 : 20;
    ByteVector block(nameAt, 0);
    putU16(block, 2, version);
    putU32(block, 4, 0xBEEF0004);
    putU16(block, 16, static_cast<std::uint16_t>(nameAt));
    append(block, utf16(name, true));
    appendU16(block, 0); // the offset of the block's version, not read
    putU16(block, 0, static_cast<std::uint16_t>(block.size()));
    append(data, block);
    return item(data);
}

ByteVector environmentBlock(std::uint32_t signature, const std::string& path) {
    ByteVector block(EnvironmentBlockSize, 0);
    putU32(block, 0, EnvironmentBlockSize);
    putU32(block, 4, signature);
    const ByteVector narrow = latin1(path, false);
    std::copy_n(narrow.begin(), std::min<std::size_t>(narrow.size(), 259), block.begin() + 8);
    const ByteVector wide = utf16(path, false);
    std::copy_n(wide.begin(), std::min<std::size_t>(wide.size(), 518), block.begin() + 268);
    return block;
}

ByteVector linkInfo(const ShellLinkDescription& link) {
    const std::uint32_t headerSize = link.unicodeLinkInfo ? 0x24 : 0x1C;
    ByteVector info(headerSize, 0);
    putU32(info, 4, headerSize);
    std::uint32_t flags = 0;
    if (link.localBasePath) {
        flags |= 1;
        ByteVector volume(16, 0); // VolumeID: size, drive type 3, serial, label offset
        putU32(volume, 0, 16);
        putU32(volume, 4, 3);
        putU32(volume, 12, 16);
        volume.push_back(0);
        putU32(info, 12, static_cast<std::uint32_t>(info.size()));
        append(info, volume);
        putU32(info, 16, static_cast<std::uint32_t>(info.size()));
        append(info, latin1(*link.localBasePath, true));
    }
    if (link.networkShare) {
        flags |= 2;
        // A NetNameOffset past 0x14 says the Unicode offsets follow.
        const std::uint32_t networkSize = link.unicodeLinkInfo ? 0x1C : 0x14;
        ByteVector network(networkSize, 0);
        putU32(network, 8, networkSize);
        append(network, latin1(*link.networkShare, true));
        if (link.unicodeLinkInfo) {
            putU32(network, 20, static_cast<std::uint32_t>(network.size()));
            append(network, utf16(*link.networkShare, true));
        }
        putU32(network, 0, static_cast<std::uint32_t>(network.size()));
        putU32(info, 20, static_cast<std::uint32_t>(info.size()));
        append(info, network);
    }
    putU32(info, 24, static_cast<std::uint32_t>(info.size()));
    append(info, latin1(link.commonPathSuffix, true));
    if (link.unicodeLinkInfo) {
        if (link.localBasePath) {
            putU32(info, 28, static_cast<std::uint32_t>(info.size()));
            append(info, utf16(*link.localBasePath, true));
        }
        putU32(info, 32, static_cast<std::uint32_t>(info.size()));
        append(info, utf16(link.commonPathSuffix, true));
    }
    putU32(info, 8, flags);
    putU32(info, 0, static_cast<std::uint32_t>(info.size()));
    return info;
}

} // namespace

BuiltShellLink buildShellLink(const ShellLinkDescription& link) {
    BuiltShellLink built;
    ByteVector& bytes = built.bytes;
    bytes.assign(0x4C, 0);
    putU32(bytes, 0, 0x4C);
    std::copy(LinkClsid.begin(), LinkClsid.end(), bytes.begin() + 4);
    putU32(bytes, 0x38, static_cast<std::uint32_t>(link.iconIndex));
    putU32(bytes, 0x3C, 1); // SW_SHOWNORMAL
    std::uint32_t flags = link.unicode ? IsUnicode : 0;

    built.idList = bytes.size();
    if (link.idListDrive) {
        flags |= HasLinkTargetIdList;
        ByteVector list;
        ByteVector root = {0x1F, 0x50};
        root.insert(root.end(), MyComputer.begin(), MyComputer.end());
        append(list, item(root));
        ByteVector volume = {0x2F};
        append(volume, latin1(*link.idListDrive, true));
        volume.resize(23, 0);
        append(list, item(volume));
        for (std::size_t i = 0; i < link.idListNames.size(); ++i)
            append(list, fileEntry(link.idListNames[i], i + 1 < link.idListNames.size(),
                                   link.idListVersion));
        appendU16(list, 0);
        appendU16(bytes, static_cast<std::uint16_t>(list.size()));
        append(bytes, list);
    }
    built.linkInfo = bytes.size();
    if (link.localBasePath || link.networkShare) {
        flags |= HasLinkInfo;
        append(bytes, linkInfo(link));
    }
    if (link.forceNoLinkInfo)
        flags |= ForceNoLinkInfo;
    built.strings = bytes.size();
    const auto string = [&](const std::optional<std::string>& text, std::uint32_t flag) {
        if (!text)
            return;
        flags |= flag;
        const ByteVector encoded = link.unicode ? utf16(*text, false) : latin1(*text, false);
        appendU16(bytes, static_cast<std::uint16_t>(encoded.size() / (link.unicode ? 2 : 1)));
        append(bytes, encoded);
    };
    string(link.name, HasName);
    string(link.relativePath, HasRelativePath);
    string(link.arguments, HasArguments);
    built.iconString = bytes.size();
    string(link.iconLocation, HasIconLocation);
    built.extraData = bytes.size();
    if (link.targetEnvironment) {
        flags |= HasExpString;
        append(bytes, environmentBlock(TargetEnvironmentSignature, *link.targetEnvironment));
    }
    if (link.iconEnvironment) {
        flags |= HasExpIcon;
        append(bytes, environmentBlock(IconEnvironmentSignature, *link.iconEnvironment));
    }
    appendU32(bytes, 0); // the terminal block
    putU32(bytes, 0x14, flags);
    return built;
}

ByteVector settingsText(const std::string& text, TextEncoding encoding) {
    std::string lines;
    for (const char c : text) {
        if (c == '\n')
            lines += '\r';
        lines += c;
    }
    switch (encoding) {
    case TextEncoding::Utf8:
        return ByteVector(lines.begin(), lines.end());
    case TextEncoding::Utf8WithMark:
        lines.insert(0, "\xEF\xBB\xBF");
        return ByteVector(lines.begin(), lines.end());
    case TextEncoding::Utf16WithMark: {
        ByteVector bytes = {0xFF, 0xFE};
        append(bytes, utf16(lines, false));
        return bytes;
    }
    case TextEncoding::Latin1:
        break;
    }
    return latin1(lines, false);
}

ByteVector peWithIconIds(const std::vector<std::uint16_t>& ids) {
    std::vector<GroupResource> groups;
    for (const std::uint16_t id : ids) {
        GroupResource group;
        group.name = id;
        group.images = {{groupEntry(32, 32, 24, 0), solidDib(32, 24, 0x010000u * id + 0x80)}};
        groups.push_back(std::move(group));
    }
    return buildPe(groups);
}

ReferenceTree writeReferenceTree(const std::filesystem::path& folder) {
    const ReferenceTree tree{folder / "drive_c", folder / "links"};
    const std::filesystem::path windows = tree.root / "Windows";
    std::filesystem::create_directories(windows / "System32");
    std::filesystem::create_directories(windows / "SystemResources");
    std::filesystem::create_directories(tree.root / "Program Files/App");
    std::filesystem::create_directories(tree.root / "Users/Public/Music");
    std::filesystem::create_directories(tree.links);
    writeFile(windows / "System32/shell32.dll", peWithIconIds({1, 4, 16}));
    writeFile(windows / "System32/imageres.dll", muiStub());
    writeFile(windows / "SystemResources/imageres.dll.mun", peWithIconIds({2, 3, 5}));
    writeFile(tree.root / "Program Files/App/App.exe", peWithIconIds({100, 101}));
    writeFile(
        tree.root / "Users/Public/Music/desktop.ini",
        settingsText("[.ShellClassInfo]\nIconResource=%SystemRoot%\\system32\\imageres.dll,-3\n",
                     TextEncoding::Utf16WithMark));

    ShellLinkDescription app;
    app.localBasePath = "C:\\Program Files\\App\\App.exe";
    app.idListDrive = "C:\\";
    app.idListNames = {"Program Files", "App", "App.exe"};
    app.relativePath = "..\\drive_c\\Program Files\\App\\App.exe";
    writeFile(tree.links / "App.lnk", buildShellLink(app).bytes);

    ShellLinkDescription shell;
    shell.localBasePath = "C:\\Windows\\explorer.exe";
    shell.iconLocation = "%SystemRoot%\\System32\\shell32.dll";
    shell.iconIndex = -16;
    writeFile(tree.links / "Shell.lnk", buildShellLink(shell).bytes);

    ShellLinkDescription expanded;
    expanded.iconEnvironment = "%ProgramFiles%\\App\\App.exe";
    expanded.iconLocation = "C:\\Missing\\gone.dll";
    expanded.iconIndex = 1;
    writeFile(tree.links / "Expanded.lnk", buildShellLink(expanded).bytes);

    ShellLinkDescription music;
    music.localBasePath = "C:\\Users\\Public\\Music";
    writeFile(tree.links / "Music.lnk", buildShellLink(music).bytes);

    writeFile(tree.links / "Site.url",
              settingsText("[InternetShortcut]\nURL=https://example.org/\n"
                           "IconFile=C:\\WINDOWS\\system32\\SHELL32.DLL\nIconIndex=1\n"));

    ShellLinkDescription chain;
    chain.relativePath = ".\\Shell.lnk";
    writeFile(tree.links / "Chain.lnk", buildShellLink(chain).bytes);
    return tree;
}

ByteVector muiStub() {
    PeOptions options;
    options.others = {{std::u16string(u"MUI"), std::uint16_t{1}, ByteVector(32, 0xCD)}};
    return buildPe({}, options);
}

} // namespace orvu::test

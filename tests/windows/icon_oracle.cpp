// What Windows itself answers for the icons of files: the reference that the
// reader is compared against, built for Windows and run there or under Wine.
//
//   icon_oracle cells FILE...
//       Exactly what `orvu-icons-cli cells` prints: per file the path, a TAB,
//       ExtractIconExW's icon count, a TAB, and for each icon k its large
//       handle drawn by DrawIconEx at 32 x 32 onto white, as RGB hex, joined
//       by '|' ("null" where the large handle is 0).
//   icon_oracle sizes FILE...
//       Per file the path, a TAB, and for each icon k the size of the image
//       that Windows picks for 32 x 32 (LookupIconIdFromDirectoryEx), as
//       WxH joined by '|' ("?" where it can't be told: 16-bit files, damaged
//       groups). Tells cells that had to be scaled from those that didn't.
//   icon_oracle cells|sizes --size N FILE...
//       The same at N x N: each icon loaded at that size by
//       PrivateExtractIconsW and drawn by DrawIconEx at N x N, as
//       `orvu-icons-cli cells --size N` prints it; the image picked for N x N.
//   icon_oracle cells|sizes --kind cursor|animated FILE...
//       Cursors instead, as `orvu-icons-cli cells --kind ...` prints them:
//       per file the path, a TAB, the number of cursors, a TAB, and each
//       cursor loaded at 32 x 32 (LoadImageW, IMAGE_CURSOR), drawn by
//       DrawIconEx, then '@' and the hotspot GetIconInfo reports:
//       <hex>@x,y. The cursors of an executable are its RT_GROUP_CURSOR
//       groups (cursor) or its RT_ANICURSOR, then RT_ANIICON, resources
//       (animated) in EnumResourceNamesW's order, from the module loaded as
//       data; a .cur file (cursor) or an .ani file (animated, at its first
//       step) is one, loaded with LR_LOADFROMFILE. `sizes` gives the image
//       LookupIconIdFromDirectoryEx (fIcon FALSE) picks of a cursor group,
//       "?" for files and animated cursors.
//
// Paths are taken from the wide command line and printed as UTF-8.

#include "platform/windows_api.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <fcntl.h>
#include <io.h>
#include <optional>
#include <shellapi.h>
#include <string>
#include <vector>

namespace {

constexpr int CellSize = 32;
constexpr int LargestSize = 256;

std::string utf8(const std::wstring& text) {
    if (text.empty())
        return {};
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), length,
                        nullptr, nullptr);
    return out;
}

// A size x size, 32-bit top-down DIB section selected into a memory DC.
class Canvas {
public:
    explicit Canvas(int size = CellSize) : m_size(size) {
        m_dc = CreateCompatibleDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = size;
        info.bmiHeader.biHeight = -size;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &m_bits, nullptr, 0);
        m_previous = SelectObject(m_dc, m_bitmap);
    }
    ~Canvas() {
        SelectObject(m_dc, m_previous);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    bool ready() const { return m_dc && m_bitmap && m_bits; }
    int size() const { return m_size; }

    void appendCell(std::string& line, HICON icon) {
        GdiFlush();
        auto* pixels = static_cast<std::uint32_t*>(m_bits);
        const int count = m_size * m_size;
        for (int i = 0; i < count; ++i)
            pixels[i] = 0x00FFFFFF;
        DrawIconEx(m_dc, 0, 0, icon, m_size, m_size, 0, nullptr, DI_NORMAL);
        GdiFlush();
        static constexpr char Hex[] = "0123456789abcdef";
        for (int i = 0; i < count; ++i) {
            for (int shift = 20; shift >= 0; shift -= 4)
                line += Hex[(pixels[i] >> shift) & 0xF];
        }
    }

private:
    int m_size = CellSize;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    void* m_bits = nullptr;
};

void printLine(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
}

void printCells(const std::wstring& path, Canvas& canvas) {
    const UINT count = ExtractIconExW(path.c_str(), -1, nullptr, nullptr, 0);
    std::string line = utf8(path) + '\t' + std::to_string(count) + '\t';
    for (UINT k = 0; k < count; ++k) {
        if (k != 0)
            line += '|';
        HICON large = nullptr;
        HICON small = nullptr;
        UINT id = 0;
        if (canvas.size() == CellSize)
            ExtractIconExW(path.c_str(), static_cast<int>(k), &large, &small, 1);
        else
            PrivateExtractIconsW(path.c_str(), static_cast<int>(k), canvas.size(), canvas.size(),
                                 &large, &id, 1, 0);
        if (large)
            canvas.appendCell(line, large);
        else
            line += "null";
        if (large)
            DestroyIcon(large);
        if (small)
            DestroyIcon(small);
    }
    line += '\n';
    printLine(line);
}

// The width and height of a stored icon image: a PNG's IHDR or a DIB's
// header (whose height counts the colour rows and the mask).
std::string imageSize(const std::uint8_t* data, DWORD size) {
    auto u32be = [&](DWORD at) {
        return static_cast<std::uint32_t>(data[at]) << 24 | data[at + 1] << 16 | data[at + 2] << 8 |
               data[at + 3];
    };
    auto u32 = [&](DWORD at) {
        std::uint32_t value = 0;
        std::memcpy(&value, data + at, 4);
        return value;
    };
    auto u16 = [&](DWORD at) {
        std::uint16_t value = 0;
        std::memcpy(&value, data + at, 2);
        return value;
    };
    if (size >= 24 && std::memcmp(data, "\x89PNG", 4) == 0)
        return std::to_string(u32be(16)) + "x" + std::to_string(u32be(20));
    if (size >= 12 && u32(0) == 12)
        return std::to_string(u16(4)) + "x" + std::to_string(u16(6) / 2);
    if (size >= 16 && u32(0) >= 40)
        return std::to_string(static_cast<std::int32_t>(u32(4))) + "x" +
               std::to_string(static_cast<std::int32_t>(u32(8)) / 2);
    return "?";
}

struct GroupNames {
    std::vector<std::wstring> names; // "#id" for numbered groups, as Windows takes them
};

BOOL CALLBACK collectGroup(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR state) {
    auto* groups = reinterpret_cast<GroupNames*>(state);
    if (IS_INTRESOURCE(name))
        groups->names.push_back(L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name)));
    else
        groups->names.emplace_back(name);
    return TRUE;
}

HMODULE loadAsData(const std::wstring& path) {
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module)
        module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    return module;
}

std::string executableSizes(const std::wstring& path, UINT count, int cell) {
    HMODULE module = loadAsData(path);
    std::string sizes;
    GroupNames groups;
    if (module)
        EnumResourceNamesW(module, MAKEINTRESOURCEW(14), collectGroup,
                           reinterpret_cast<LONG_PTR>(&groups));
    for (UINT k = 0; k < count; ++k) {
        if (k != 0)
            sizes += '|';
        std::string size = "?";
        HRSRC group = k < groups.names.size()
                          ? FindResourceW(module, groups.names[k].c_str(), MAKEINTRESOURCEW(14))
                          : nullptr;
        HGLOBAL groupData = group ? LoadResource(module, group) : nullptr;
        auto* directory = groupData ? static_cast<BYTE*>(LockResource(groupData)) : nullptr;
        if (directory && SizeofResource(module, group) >= 6) {
            const int id =
                LookupIconIdFromDirectoryEx(directory, TRUE, cell, cell, LR_DEFAULTCOLOR);
            HRSRC image =
                id ? FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(3)) : nullptr;
            HGLOBAL imageData = image ? LoadResource(module, image) : nullptr;
            const auto* bytes =
                imageData ? static_cast<const std::uint8_t*>(LockResource(imageData)) : nullptr;
            if (bytes)
                size = imageSize(bytes, SizeofResource(module, image));
        }
        sizes += size;
    }
    if (module)
        FreeLibrary(module);
    return sizes;
}

std::vector<std::uint8_t> readWhole(const std::wstring& path) {
    std::vector<std::uint8_t> bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart < (64 << 20)) {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        DWORD got = 0;
        if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) ||
            got != bytes.size())
            bytes.clear();
    }
    CloseHandle(file);
    return bytes;
}

// An .ico file: its 16-byte entries rewritten as a resource group directory
// (14-byte entries numbered from 1), asked the same question.
std::string iconFileSize(const std::vector<std::uint8_t>& file, int cell) {
    std::uint16_t count = 0;
    std::memcpy(&count, file.data() + 4, 2);
    if (file.size() < 6 + 16u * count)
        return "?";
    std::vector<std::uint8_t> directory(file.begin(), file.begin() + 6);
    for (std::uint16_t i = 0; i < count; ++i) {
        const std::uint8_t* entry = file.data() + 6 + 16 * i;
        directory.insert(directory.end(), entry, entry + 12);
        const std::uint16_t id = static_cast<std::uint16_t>(i + 1);
        directory.push_back(static_cast<std::uint8_t>(id));
        directory.push_back(static_cast<std::uint8_t>(id >> 8));
    }
    const int id = LookupIconIdFromDirectoryEx(directory.data(), TRUE, cell, cell, LR_DEFAULTCOLOR);
    if (id < 1 || id > count)
        return "?";
    std::uint32_t bytes = 0;
    std::uint32_t offset = 0;
    std::memcpy(&bytes, file.data() + 6 + 16 * (id - 1) + 8, 4);
    std::memcpy(&offset, file.data() + 6 + 16 * (id - 1) + 12, 4);
    if (offset > file.size() || bytes > file.size() - offset)
        return "?";
    return imageSize(file.data() + offset, bytes);
}

void printSizes(const std::wstring& path, int cell) {
    const UINT count = ExtractIconExW(path.c_str(), -1, nullptr, nullptr, 0);
    std::string line = utf8(path) + '\t';
    const std::vector<std::uint8_t> head = readWhole(path);
    if (count == 0) {
        // nothing to size
    } else if (head.size() >= 2 && head[0] == 'M' && head[1] == 'Z') {
        line += executableSizes(path, count, cell);
    } else if (head.size() >= 6) {
        line += iconFileSize(head, cell);
    }
    line += '\n';
    printLine(line);
}

// Cursors.

enum class Kind { Icon, Cursor, Animated };

constexpr WORD RtCursor = 1;
constexpr WORD RtGroupCursor = 12;
constexpr WORD RtAniCursor = 21;
constexpr WORD RtAniIcon = 22;

// A cursor resource of a module: its type and its name ("#id" for a number).
struct CursorResource {
    WORD type = 0;
    std::wstring name;
};

std::vector<CursorResource> cursorResources(HMODULE module, Kind kind) {
    std::vector<CursorResource> found;
    const std::vector<WORD> types = kind == Kind::Cursor
                                        ? std::vector<WORD>{RtGroupCursor}
                                        : std::vector<WORD>{RtAniCursor, RtAniIcon};
    for (const WORD type : types) {
        GroupNames groups;
        EnumResourceNamesW(module, MAKEINTRESOURCEW(type), collectGroup,
                           reinterpret_cast<LONG_PTR>(&groups));
        for (std::wstring& name : groups.names)
            found.push_back({type, std::move(name)});
    }
    return found;
}

struct ResourceBytes {
    const BYTE* data = nullptr;
    DWORD size = 0;
};

ResourceBytes resourceBytes(HMODULE module, LPCWSTR name, WORD type) {
    HRSRC found = FindResourceW(module, name, MAKEINTRESOURCEW(type));
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const auto* data = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    return data ? ResourceBytes{data, SizeofResource(module, found)} : ResourceBytes{};
}

// A module's cursor loaded at size x size as Windows loads it: a cursor
// group by LoadImageW, an animated one by CreateIconFromResourceEx.
HCURSOR loadCursor(HMODULE module, const CursorResource& resource, int size) {
    if (resource.type == RtGroupCursor)
        return static_cast<HCURSOR>(
            LoadImageW(module, resource.name.c_str(), IMAGE_CURSOR, size, size, 0));
    const ResourceBytes bytes = resourceBytes(module, resource.name.c_str(), resource.type);
    if (!bytes.data)
        return nullptr;
    return CreateIconFromResourceEx(const_cast<BYTE*>(bytes.data), bytes.size,
                                    resource.type == RtAniIcon, 0x00030000, size, size, 0);
}

// The size of the image LookupIconIdFromDirectoryEx picks of a cursor
// group for size x size, after the image's hotspot.
std::string cursorGroupSize(HMODULE module, const CursorResource& resource, int size) {
    if (resource.type != RtGroupCursor)
        return "?";
    const ResourceBytes directory = resourceBytes(module, resource.name.c_str(), RtGroupCursor);
    if (!directory.data || directory.size < 6)
        return "?";
    const int id = LookupIconIdFromDirectoryEx(const_cast<BYTE*>(directory.data), FALSE, size, size,
                                               LR_DEFAULTCOLOR);
    const ResourceBytes image =
        id ? resourceBytes(module, MAKEINTRESOURCEW(id), RtCursor) : ResourceBytes{};
    if (!image.data || image.size < 4)
        return "?";
    return imageSize(image.data + 4, image.size - 4);
}

// The cursor drawn as a cell, '@' and the hotspot GetIconInfo reports;
// "null" for no cursor.
void appendCursor(std::string& line, HCURSOR cursor, Canvas& canvas) {
    if (!cursor) {
        line += "null";
        return;
    }
    canvas.appendCell(line, cursor);
    ICONINFO info{};
    if (!GetIconInfo(cursor, &info)) {
        line += "@?";
        return;
    }
    line += '@' + std::to_string(static_cast<std::int32_t>(info.xHotspot)) + ',' +
            std::to_string(static_cast<std::int32_t>(info.yHotspot));
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
}

// Whether a file that is no executable is one cursor of the kind: a cursor
// file (reserved 0, type 2, at least one entry) or a RIFF ACON form.
bool isCursorFile(const std::vector<std::uint8_t>& head, Kind kind) {
    if (kind == Kind::Cursor)
        return head.size() >= 6 && head[0] == 0 && head[1] == 0 && head[2] == 2 && head[3] == 0 &&
               (head[4] != 0 || head[5] != 0);
    return head.size() >= 12 && std::memcmp(head.data(), "RIFF", 4) == 0 &&
           std::memcmp(head.data() + 8, "ACON", 4) == 0;
}

void printCursors(const std::wstring& path, Kind kind, Canvas& canvas, bool cells) {
    const std::vector<std::uint8_t> head = readWhole(path);
    std::string line = utf8(path) + '\t';
    std::string list;
    UINT count = 0;
    if (head.size() >= 2 && head[0] == 'M' && head[1] == 'Z') {
        if (HMODULE module = loadAsData(path)) {
            const auto resources = cursorResources(module, kind);
            count = static_cast<UINT>(resources.size());
            for (UINT k = 0; k < count; ++k) {
                if (k != 0)
                    list += '|';
                if (!cells) {
                    list += cursorGroupSize(module, resources[k], canvas.size());
                    continue;
                }
                HCURSOR cursor = loadCursor(module, resources[k], canvas.size());
                appendCursor(list, cursor, canvas);
                if (cursor)
                    DestroyCursor(cursor);
            }
            FreeLibrary(module);
        }
    } else if (isCursorFile(head, kind)) {
        count = 1;
        if (cells) {
            HCURSOR cursor =
                static_cast<HCURSOR>(LoadImageW(nullptr, path.c_str(), IMAGE_CURSOR, canvas.size(),
                                                canvas.size(), LR_LOADFROMFILE));
            appendCursor(list, cursor, canvas);
            if (cursor)
                DestroyCursor(cursor);
        } else {
            list += "?";
        }
    }
    if (cells)
        line += std::to_string(count) + '\t';
    line += list + '\n';
    printLine(line);
}

// The kind after a leading "--kind" at argv[first], moving `first` past it;
// Kind::Icon without one, nothing for a kind other than cursor or animated.
std::optional<Kind> kindArgument(LPWSTR* argv, int argc, int& first) {
    if (first + 1 >= argc || std::wcscmp(argv[first], L"--kind") != 0)
        return Kind::Icon;
    const std::wstring value = argv[first + 1];
    first += 2;
    if (value == L"cursor")
        return Kind::Cursor;
    if (value == L"animated")
        return Kind::Animated;
    return std::nullopt;
}

} // namespace

// The size after a leading "--size" at argv[first], moving `first` past
// it; CellSize without one, 0 for a size that is no whole number from 1 to
// LargestSize.
int sizeArgument(LPWSTR* argv, int argc, int& first) {
    if (first + 1 >= argc || std::wcscmp(argv[first], L"--size") != 0)
        return CellSize;
    wchar_t* end = nullptr;
    const long size = std::wcstol(argv[first + 1], &end, 10);
    first += 2;
    return *end == 0 && size >= 1 && size <= LargestSize ? static_cast<int>(size) : 0;
}

int main() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    int first = 2;
    const std::optional<Kind> kind =
        argv && argc >= 3 ? kindArgument(argv, argc, first) : std::nullopt;
    const int size = kind && first < argc ? sizeArgument(argv, argc, first) : 0;
    if (!argv || size == 0 || first >= argc ||
        (std::wcscmp(argv[1], L"cells") != 0 && std::wcscmp(argv[1], L"sizes") != 0)) {
        std::fprintf(
            stderr, "usage: icon_oracle cells|sizes [--kind cursor|animated] [--size N] FILE...\n");
        return 2;
    }
    _setmode(_fileno(stdout), _O_BINARY);
    const bool cells = std::wcscmp(argv[1], L"cells") == 0;
    Canvas canvas(size);
    if (cells && !canvas.ready()) {
        std::fprintf(stderr, "icon_oracle: no 32-bit drawing surface\n");
        return 1;
    }
    for (int i = first; i < argc; ++i) {
        if (*kind != Kind::Icon)
            printCursors(argv[i], *kind, canvas, cells);
        else if (cells)
            printCells(argv[i], canvas);
        else
            printSizes(argv[i], size);
    }
    LocalFree(argv);
    return 0;
}

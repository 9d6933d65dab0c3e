#include "export/save_format.h"

#include "export/bitmap_file.h"
#include "platform/text_case.h"
#include "texts/text.h"

#include <algorithm>
#include <array>
#include <string>

namespace orvu {
namespace {

constexpr std::uint8_t EveryKind =
    kindBit(GroupKind::Icon) | kindBit(GroupKind::Cursor) | kindBit(GroupKind::Animated);

Result<ExportedIcon> wholeGroup(IconLibrary& library, GroupRef group, std::optional<int>) {
    return groupFileOf(library, group);
}

// The table. Its order is the order the dialogs offer the formats in.
constexpr std::array<SaveFormatRow, 5> Rows{{
    {SaveFormat::Ico, ".ico", textId("Icon file"), Keeps::WholeGroup, kindBit(GroupKind::Icon),
     "ico",
     "the whole icon, every image as stored (a cursor: a .cur, every image as stored with its "
     "hotspot; an animated cursor: the .ani exactly as stored)",
     true, wholeGroup, nullptr, nullptr},
    {SaveFormat::Cur,
     ".cur",
     textId("Cursor file"),
     Keeps::WholeGroup,
     kindBit(GroupKind::Cursor),
     {},
     {},
     true,
     wholeGroup,
     nullptr,
     nullptr},
    {SaveFormat::Ani,
     ".ani",
     textId("Animated cursor file"),
     Keeps::WholeGroup,
     kindBit(GroupKind::Animated),
     {},
     {},
     true,
     wholeGroup,
     nullptr,
     nullptr},
    {SaveFormat::Png, ".png", textId("PNG image"), Keeps::OneImage, EveryKind, "png",
     "one image with its alpha channel (a cursor's with its hotspot as the text \"hotspot\", "
     "\"x,y\")",
     true, pngOf, pngOfImage, nullptr},
    {SaveFormat::Bmp,
     ".bmp",
     textId("Bitmap"),
     Keeps::Cell,
     EveryKind,
     {},
     {},
     false,
     nullptr,
     nullptr,
     encodeBitmapFile},
}};

} // namespace

std::span<const SaveFormatRow> saveFormats() {
    return Rows;
}

const SaveFormatRow& rowOf(SaveFormat format) {
    return *std::find_if(Rows.begin(), Rows.end(),
                         [format](const SaveFormatRow& row) { return row.format == format; });
}

std::string_view extensionOf(SaveFormat format) {
    return rowOf(format).extension;
}

std::optional<SaveFormat> formatOfName(const std::filesystem::path& name) {
    const std::u8string utf8 = name.extension().u8string();
    const std::string extension = asciiLower(std::string(utf8.begin(), utf8.end()));
    for (const SaveFormatRow& row : Rows) {
        if (extension == row.extension)
            return row.format;
    }
    return std::nullopt;
}

bool serves(SaveFormat format, GroupKind kind) {
    return (rowOf(format).kinds & kindBit(kind)) != 0;
}

SaveFormat wholeFormatOf(GroupKind kind) {
    for (const SaveFormatRow& row : Rows) {
        if (row.keeps == Keeps::WholeGroup && (row.kinds & kindBit(kind)) != 0)
            return row.format;
    }
    return SaveFormat::Ico;
}

SaveFormat formatFor(GroupKind kind, SaveFormat chosen) {
    return rowOf(chosen).keeps == Keeps::WholeGroup ? wholeFormatOf(kind) : chosen;
}

std::vector<SaveFormat> formatsOffered(GroupKind kind) {
    std::vector<SaveFormat> offered{wholeFormatOf(kind)};
    for (const SaveFormatRow& row : Rows) {
        if (row.keeps != Keeps::WholeGroup && (row.kinds & kindBit(kind)) != 0)
            offered.push_back(row.format);
    }
    return offered;
}

std::optional<SaveFormat> formatOfOption(std::string_view name) {
    const std::string lower = asciiLower(std::string(name));
    for (const SaveFormatRow& row : Rows) {
        if (!row.optionName.empty() && lower == row.optionName)
            return row.format;
    }
    return std::nullopt;
}

Result<ExportedIcon> exportAs(SaveFormat format, IconLibrary& library, GroupRef group,
                              std::optional<int> size) {
    const SaveFormatRow& row = rowOf(formatFor(group.kind, format));
    if (!row.ofGroup)
        return Failure{Failure::Kind::NoSuchIcon, "the format is made from a tile's cell"};
    return row.ofGroup(library, group, size);
}

} // namespace orvu

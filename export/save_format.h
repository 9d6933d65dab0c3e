#pragma once

#include "export/icon_export.h"
#include "icons/group_kind.h"
#include "icons/icon_bitmap.h"
#include "icons/icon_drawing.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace orvu {

// The formats an icon is saved in, and everything about each of them, in one
// table (SaveFormats): what the dialogs offer, what the command line's
// --format takes, which format a tile of each kind saves as, the extensions
// and the encoders all come from its rows. A new format is a row and its
// encoder.
enum class SaveFormat { Ico, Cur, Ani, Png, Bmp };

// What a saved file keeps of an icon.
enum class Keeps {
    WholeGroup, // every image of its group, as stored: nothing is lost
    OneImage,   // one image at its natural size, with its alpha
    Cell,       // the tile's cell as shown, on the window's background
};

struct SaveFormatRow {
    SaveFormat format;
    std::string_view extension; // with its dot: ".ico"
    // The name of its type in a file dialog: English, the catalogue's text
    // (the window shows text(typeName)).
    const char* typeName;
    Keeps keeps;
    // The kinds of group it saves, a bit each (kindBit).
    std::uint8_t kinds;
    // Its name for the command line's --format, and what it writes, for the
    // help (one paragraph, which the help wraps); empty where the command
    // line doesn't offer it. A WholeGroup
    // format named there stands for every kind's whole format.
    std::string_view optionName;
    std::string_view optionHelp;
    // Whether saving many tiles into a folder offers it.
    bool savesMany;
    // The encoder, by what it keeps: WholeGroup and OneImage from the group
    // in its file (OneImage: the image Windows shows at `size` x `size`, or
    // the largest); OneImage also from one decoded image; Cell from the cell.
    Result<ExportedIcon> (*ofGroup)(IconLibrary& library, GroupRef group, std::optional<int> size);
    Result<std::vector<std::uint8_t>> (*ofImage)(const IconBitmap& image,
                                                 const std::optional<Hotspot>& hotspot);
    std::vector<std::uint8_t> (*ofCell)(const Surface& cell);
};

constexpr std::uint8_t kindBit(GroupKind kind) {
    return static_cast<std::uint8_t>(1u << static_cast<unsigned>(kind));
}

// Every format, in the order dialogs offer them.
std::span<const SaveFormatRow> saveFormats();
const SaveFormatRow& rowOf(SaveFormat format);

// ".ico", ".cur", ".ani", ".png" or ".bmp".
std::string_view extensionOf(SaveFormat format);
// The format a file name's extension names, in any letter case.
std::optional<SaveFormat> formatOfName(const std::filesystem::path& name);
// Whether the format serves groups of `kind`.
bool serves(SaveFormat format, GroupKind kind);

// The format that keeps a whole group of `kind`: .ico, .cur or .ani.
SaveFormat wholeFormatOf(GroupKind kind);
// The format a group of `kind` is saved in when `chosen` is asked for: a
// whole format saves each group whole in its own kind's, the others stay
// as they are.
SaveFormat formatFor(GroupKind kind, SaveFormat chosen);
// What saving one group of `kind` offers: its whole format first, then every
// other format that serves it, in the table's order.
std::vector<SaveFormat> formatsOffered(GroupKind kind);

// The format --format NAME names (in any letter case), or nullopt.
std::optional<SaveFormat> formatOfOption(std::string_view name);

// The bytes of a file of `format`: of group `group` in `library` (a whole
// group, or one image chosen for `size`), or of the cell for a Cell format.
Result<ExportedIcon> exportAs(SaveFormat format, IconLibrary& library, GroupRef group,
                              std::optional<int> size = std::nullopt);

} // namespace orvu

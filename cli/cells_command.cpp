// orvu-icons-cli cells: the icons as Windows draws them, as text, for
// checking against Windows: the comparison with the Windows API under Wine
// reads it, and so do comparisons outside, so its output stays as it is.

#include "cli/command_line.h"
#include "cli/commands.h"
#include "export/icon_cell.h"
#include "icons/cursor_at_size.h"
#include "icons/icon_at_size.h"
#include "platform/icon_files.h"
#include "png/default_decoder.h"

#include <optional>
#include <string>

namespace orvu::cli {
namespace {

constexpr std::string_view Help =
    R"(usage: orvu-icons-cli cells [--kind cursor|animated] [--size N] FILE...

Draws each icon of each FILE as Windows draws it, on white, and prints the
pixels as text, for checking against what Windows itself draws (the
window's tiles show the same pictures). One line per file: the path, a TAB,
the number of icons, a TAB, and each icon as 32 x 32 RGB pixels in hex (six
digits a pixel, row by row from the top left), separated by '|' ("null" for
an icon without a usable image). The picture is the image Windows shows at
32 x 32, drawn through its mask or alpha channel.

With --size N (1 to 256, after --kind and before the files), each icon as
Windows draws it at N x N instead: the image it chooses for that size,
scaled where the icon has none of that size.

With --kind cursor (or animated; first of all the arguments), the file's
cursors (animated cursors, at their first step) instead of its icons, each
drawn as Windows draws it at 32 x 32 (or N x N) and followed by '@' and its
hotspot as Windows reports it: <hex>@x,y.

Every other argument is a FILE, one that starts with '-' too.
)";

constexpr std::uint32_t White = 0xFFFFFF;

void appendHex(std::string& line, const std::vector<std::uint32_t>& pixels) {
    static constexpr char Hex[] = "0123456789abcdef";
    for (std::uint32_t pixel : pixels) {
        for (int shift = 20; shift >= 0; shift -= 4)
            line += Hex[(pixel >> shift) & 0xF];
    }
}

// Icon k as a tile shows it: drawn on the preview, as the window draws it.
void appendCell(std::string& line, IconLibrary& library, std::uint32_t k, Surface& preview) {
    const auto icon = library.largeIcon(k);
    if (!icon) {
        line += "null";
        return;
    }
    appendHex(line, renderCell(preview, White, &*icon).pixels);
}

void appendCellAt(std::string& line, IconLibrary& library, std::uint32_t k, int size) {
    const auto drawn = drawIconAt(library, k, size, White);
    if (!drawn) {
        line += "null";
        return;
    }
    appendHex(line, drawn->pixels);
}

void appendCursorCell(std::string& line, IconLibrary& library, GroupRef group, int size) {
    const auto drawn = drawCursorAt(library, group, size, White);
    if (!drawn) {
        line += "null";
        return;
    }
    appendHex(line, drawn->surface.pixels);
    line += '@' + std::to_string(drawn->hotspot.x) + ',' + std::to_string(drawn->hotspot.y);
}

// A leading "--kind KIND" or "--kind=KIND", taken from `files`.
GroupKind takeKind(std::vector<std::string>& files) {
    if (files.empty() || (files[0] != "--kind" && files[0].rfind("--kind=", 0) != 0))
        return GroupKind::Icon;
    const bool joined = files[0] != "--kind";
    if (!joined && files.size() < 2)
        throw UsageError("--kind needs a value");
    const std::string value = joined ? files[0].substr(7) : files[1];
    files.erase(files.begin(), files.begin() + (joined ? 1 : 2));
    for (const GroupKind kind : {GroupKind::Cursor, GroupKind::Animated})
        if (value == kindName(kind))
            return kind;
    throw UsageError("--kind is cursor or animated, not '" + value + "'");
}

int runCells(const Arguments& arguments, Output& out) {
    // Every argument is a file, except a leading "--kind KIND", then a
    // leading "--size N" or "--size=N".
    std::vector<std::string> files = arguments.operands();
    const GroupKind kind = takeKind(files);
    std::optional<int> size;
    if (!files.empty() && (files[0] == "--size" || files[0].rfind("--size=", 0) == 0)) {
        const bool joined = files[0] != "--size";
        if (!joined && files.size() < 2)
            throw UsageError("--size needs a value");
        const std::string value = joined ? files[0].substr(7) : files[1];
        size = static_cast<int>(parseNumber(value, 1, MaxShownSize, "--size"));
        files.erase(files.begin(), files.begin() + (joined ? 1 : 2));
    }
    if (files.empty())
        throw UsageError("cells needs a FILE");
    int status = Succeeded;
    Surface preview = Surface::filled(PreviewSize, PreviewSize, White);
    for (const std::string& file : files) {
        auto library = openIconLibrary(pathFromArgument(file), defaultPngDecoder());
        if (!library) {
            complain("cannot read " + file + ": " + describe(library.failure()));
            status = SomeInputsFailed;
            continue;
        }
        const std::uint32_t count = library->count(kind);
        // Written cell by cell: a file of 65 535 icons makes a line of 400 MB.
        std::string line = printable(file) + '\t' + std::to_string(count) + '\t';
        for (std::uint32_t k = 0; k < count; ++k) {
            if (k != 0)
                line += '|';
            if (kind != GroupKind::Icon)
                appendCursorCell(line, *library, {kind, k}, size.value_or(LargeIconSize));
            else if (size)
                appendCellAt(line, *library, k, *size);
            else
                appendCell(line, *library, k, preview);
            out.write(line);
            line.clear();
        }
        line += '\n';
        out.write(line);
    }
    return status;
}

} // namespace

const Command CellsCommand{
    "cells",
    "cells [--kind cursor|animated] [--size N] FILE...\n"
    "      each icon as Windows draws it, in hex, for checking against Windows",
    Help,
    {},
    runCells,
    false,
};

} // namespace orvu::cli

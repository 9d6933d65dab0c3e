// orvu-icons-cli cells: what the window's tiles show, as text. A test under
// Wine compares it with what Windows draws, so its output stays as it is.

#include "cli/command_line.h"
#include "cli/commands.h"
#include "harvest/icon_cell.h"
#include "platform/icon_files.h"
#include "png/default_decoder.h"

#include <string>

namespace orvu::cli {
namespace {

constexpr std::string_view Help = R"(usage: orvu-icons-cli cells FILE...

For tests. One line per file: the path, a TAB, the number of icons, a TAB,
and each icon's large image drawn on white as 32 x 32 RGB in hex (six digits
a pixel), separated by '|' ("null" for an icon without a usable image).
)";

constexpr std::uint32_t White = 0xFFFFFF;

void appendCell(std::string& line, IconLibrary& library, std::uint32_t k, Surface& preview) {
    static constexpr char Hex[] = "0123456789abcdef";
    const auto icon = library.largeIcon(k);
    if (!icon) {
        line += "null";
        return;
    }
    const IconCell cell = renderCell(preview, White, &*icon);
    for (std::uint32_t pixel : cell.pixels) {
        for (int shift = 20; shift >= 0; shift -= 4)
            line += Hex[(pixel >> shift) & 0xF];
    }
}

int runCells(const Arguments& arguments, Output& out) {
    if (arguments.operands().empty())
        throw UsageError("cells needs a FILE");
    int status = Succeeded;
    Surface preview = Surface::filled(PreviewSize, PreviewSize, White);
    for (const std::string& file : arguments.operands()) {
        auto library = openIconLibrary(pathFromArgument(file), defaultPngDecoder());
        if (!library) {
            complain("cannot read " + file + ": " + describe(library.failure()));
            status = SomeInputsFailed;
            continue;
        }
        const std::uint32_t count = library->count();
        // Written cell by cell: a file of 65 535 icons makes a line of 400 MB.
        std::string line = file + '\t' + std::to_string(count) + '\t';
        for (std::uint32_t k = 0; k < count; ++k) {
            if (k != 0)
                line += '|';
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
    "cells FILE...\n"
    "      (for tests) each icon as Windows draws it at 32 x 32, in hex",
    Help,
    {},
    runCells,
    false,
};

} // namespace orvu::cli

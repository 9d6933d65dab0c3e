// orvu-icons-cli extract: icons as .ico or PNG files of their own.

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/file_walk.h"
#include "cli/incomplete_icon.h"
#include "export/export_names.h"
#include "export/save_format.h"
#include "platform/like_pattern.h"
#include "platform/path_text.h"
#include "platform/text_case.h"
#include "png/default_decoder.h"

#include <limits>
#include <map>
#include <system_error>

namespace orvu::cli {
namespace {

namespace fs = std::filesystem;

// "ico|png": the formats --format takes, from the formats table (those that
// keep `keeps`, where it is given).
std::string formatChoices(std::optional<Keeps> keeps = std::nullopt) {
    std::string choices;
    for (const SaveFormatRow& row : saveFormats()) {
        if (!row.optionName.empty() && (!keeps || row.keeps == *keeps))
            choices += (choices.empty() ? "" : "|") + std::string(row.optionName);
    }
    return choices;
}

// "icon|cursor|animated|all": the kinds --kind takes.
std::string kindChoices() {
    std::string choices;
    for (const GroupKind kind : GroupKinds)
        choices += kindName(kind) + std::string("|");
    return choices + "all";
}

// "ico (the default): ...", a paragraph per format that --format takes,
// wrapped to the help's second column.
std::string formatHelp() {
    constexpr std::size_t Column = 21;
    constexpr std::size_t Width = 78;
    std::string help;
    std::size_t line = Column;
    const auto word = [&](std::string_view text) {
        if (line > Column && line + 1 + text.size() > Width) {
            help += "\n" + std::string(Column, ' ');
            line = Column;
        } else if (line > Column) {
            help += ' ';
            ++line;
        }
        help += text;
        line += text.size();
    };
    bool first = true;
    for (const SaveFormatRow& row : saveFormats()) {
        if (row.optionName.empty())
            continue;
        if (!first) {
            help += "\n" + std::string(Column, ' ');
            line = Column;
        }
        std::string paragraph = std::string(row.optionName) + (first ? " (the default): " : ": ") +
                                std::string(row.optionHelp);
        for (std::size_t start = 0; start < paragraph.size();) {
            const std::size_t end = std::min(paragraph.find(' ', start), paragraph.size());
            word(std::string_view(paragraph).substr(start, end - start));
            start = end + 1;
        }
        first = false;
    }
    return help;
}

const std::string Help =
    "usage: orvu-icons-cli extract [-o DIR] [--format " + formatChoices() + "] [--size N]\n" +
    "                              [--kind " + kindChoices() + "]\n" +
    "                              [--icon K | --id ID] [--force] [--pattern GLOB] PATH...\n" +
    R"(
Writes each icon of each file as a file of its own, named after the file's
name without its extension and the icon's position K (from 1, among the
groups of its kind): <name>_<K>.ico or <name>_<K>.png; a cursor's
<name>_<K>.cur, an animated cursor's <name>_<K>.ani. A name that is taken, on
disk or earlier in the same run, gets a counter instead: <name>_<K>-2.ico,
-3, and so on. Prints the path of every file written, one a line. A folder
is walked with its subfolders, reading the files whose names match GLOB;
files named here are always read.

  -o, --output DIR   the folder to write to, which must exist (default: .)
  --format FORMAT    )" +
    formatHelp() + R"(
  --size N           with --format png: the image Windows shows at N x N,
                     at its natural size (default: the largest image)
  --kind KIND        which groups: icon (the default), cursor, animated
                     (animated cursors and icons) or all of them
  --icon K           only the icon at position K
  --id ID            only the icons with resource id ID: a number, or a name
                     in any letter case (MAINICON)
  --force            replace files in the way instead of adding a counter
  --pattern GLOB     the names of the files read in folders, in any letter
                     case (default *.exe; * for every file)
)";

const std::string Summary =
    "extract [-o DIR] [--format " + formatChoices() + "] [--size N] [--kind " + kindChoices() +
    "]\n        [--icon K | --id ID] [--force] [--pattern GLOB] PATH...\n"
    "      writes icons as .ico or PNG files, cursors as .cur, .ani or PNG files";

// Which icons of a file to write.
struct Selection {
    std::optional<std::uint64_t> position;   // --icon, from 1
    std::optional<std::uint16_t> id;         // --id as a number
    std::optional<std::u32string> upperName; // --id as a name, upper-cased

    bool all() const { return !position && !id && !upperName; }
};

Selection selectionOf(const Arguments& arguments) {
    Selection selection;
    selection.position = arguments.number("--icon", 1, std::numeric_limits<std::uint32_t>::max());
    if (const auto id = arguments.value("--id")) {
        if (selection.position)
            throw UsageError("--icon and --id can't be given together");
        if (id->empty())
            throw UsageError("--id needs a number or a name");
        if (id->find_first_not_of("0123456789") == std::string::npos)
            selection.id = static_cast<std::uint16_t>(parseNumber(*id, 0, 0xFFFF, "--id"));
        else
            selection.upperName = toUpper(decodeUtf8Lenient(*id));
    }
    return selection;
}

// The kinds of group --kind asks for.
std::vector<GroupKind> kindsOf(const Arguments& arguments) {
    const std::string name = asciiLower(arguments.value("--kind").value_or("icon"));
    if (name == "all")
        return {GroupKinds.begin(), GroupKinds.end()};
    for (const GroupKind kind : GroupKinds)
        if (name == kindName(kind))
            return {kind};
    throw UsageError("--kind is one of " + kindChoices() + ", not '" + name + "'");
}

// The 0-based indices of the groups of a kind the selection takes from the
// library.
std::vector<std::uint32_t> selectedGroups(IconLibrary& library, GroupKind kind,
                                          const Selection& selection) {
    std::vector<std::uint32_t> icons;
    const std::uint32_t count = library.count(kind);
    if (selection.position) {
        if (*selection.position <= count)
            icons.push_back(static_cast<std::uint32_t>(*selection.position - 1));
        return icons;
    }
    for (std::uint32_t k = 0; k < count; ++k) {
        if (selection.all()) {
            icons.push_back(k);
            continue;
        }
        const auto name = library.name(GroupRef{kind, k});
        if (!name)
            continue;
        if (selection.id
                ? name->id == selection.id
                : !name->id && toUpper(decodeUtf8Lenient(name->name)) == *selection.upperName)
            icons.push_back(k);
    }
    return icons;
}

std::string nothingSelected(const Selection& selection, const Arguments& arguments,
                            const std::vector<GroupKind>& kinds) {
    const std::string noun = kinds.size() == 1 ? kindName(kinds.front()) : "icon or cursor";
    if (selection.position)
        return "no " + noun + " " + std::to_string(*selection.position);
    if (!selection.all())
        return "no " + noun + " with id " + *arguments.value("--id");
    return kinds.size() == 1 && kinds.front() == GroupKind::Icon ? "no icons" : "no " + noun + "s";
}

int runExtract(const Arguments& arguments, Output& out) {
    if (arguments.operands().empty())
        throw UsageError("extract needs a PATH");
    const std::string formatName = arguments.value("--format").value_or("ico");
    const auto chosen = formatOfOption(formatName);
    if (!chosen)
        throw UsageError("--format is one of " + formatChoices() + ", not '" + formatName + "'");
    const SaveFormat format = *chosen;
    const auto size = arguments.number("--size", 1, 0xFFFF);
    if (size && rowOf(format).keeps != Keeps::OneImage)
        throw UsageError("--size needs --format " + formatChoices(Keeps::OneImage));
    const Selection selection = selectionOf(arguments);
    const std::vector<GroupKind> kinds = kindsOf(arguments);
    const bool force = arguments.has("--force");
    const std::string pattern = arguments.value("--pattern").value_or(ExecutablePattern);

    fs::path folder;
    if (const auto output = arguments.value("--output")) {
        folder = pathFromArgument(*output);
        std::error_code error;
        if (!fs::is_directory(folder, error)) {
            complain("cannot write to " + displayText(folder) + ": " +
                     (error ? error.message() : "not a folder"));
            return SomeInputsFailed;
        }
    }
    // One batch of names per extension: a PNG of a cursor takes a counter
    // where an icon's PNG has its name.
    const ExistingFiles existing = force ? ExistingFiles::Replace : ExistingFiles::KeepWithCounter;
    std::map<std::string, ExportNames> namesByExtension;
    const auto namesFor = [&](GroupKind kind) -> ExportNames& {
        const std::string extension(extensionOf(formatFor(kind, format)));
        return namesByExtension.try_emplace(extension, folder, extension, existing).first->second;
    };

    int status = Succeeded;
    const fs::path output = folder.empty() ? fs::path(".") : folder;
    walkInputs(arguments.operands(), pattern, defaultPngDecoder(), output, [&](Input& input) {
        const std::string path = displayText(input.path);
        if (const auto problem = problemOf(input)) {
            if (failsTheCommand(input, *problem)) {
                complain(path + ": " + describe(*problem));
                status = SomeInputsFailed;
            }
            return;
        }
        IconLibrary& library = *input.library;
        std::vector<GroupRef> groups;
        for (const GroupKind kind : kinds)
            for (const std::uint32_t k : selectedGroups(library, kind, selection))
                groups.push_back({kind, k});
        if (groups.empty() && input.named) {
            complain(path + ": " + nothingSelected(selection, arguments, kinds));
            status = SomeInputsFailed;
        }
        for (const GroupRef group : groups) {
            const std::uint32_t k = group.index;
            const std::string which =
                std::string(kindName(group.kind)) + " " + std::to_string(k + 1);
            // Each icon on its own: a file of many large ones is written whole.
            library.startRequest();
            const auto bytes =
                exportAs(format, library, group,
                         size ? std::optional<int>(static_cast<int>(*size)) : std::nullopt);
            if (!bytes) {
                complain(path + ": " + which + ": " + describe(bytes.failure()));
                status = SomeInputsFailed;
                continue;
            }
            const auto written = namesFor(group.kind).write(input.path.stem(), k + 1, bytes->bytes);
            if (!written.result) {
                complain("cannot write " + displayText(written.path) + ": " +
                         describe(written.result.failure()));
                status = SomeInputsFailed;
                continue;
            }
            out.write(printablePath(written.path) + "\n");
            if (!bytes->missing.empty()) {
                complain(path + ": " + which + ": " + incompleteness(bytes->missing));
                status = SomeInputsFailed;
            }
        }
    });
    return status;
}

} // namespace

const Command ExtractCommand{
    "extract",
    Summary,
    Help,
    {{"--output", "-o", true},
     {"--format", "", true},
     {"--size", "", true},
     {"--kind", "", true},
     {"--icon", "", true},
     {"--id", "", true},
     {"--force", "", false},
     {"--pattern", "", true}},
    runExtract,
};

} // namespace orvu::cli

// orvu-icons-cli list: every icon of every file, with its images.

#include "cli/commands.h"
#include "cli/file_walk.h"
#include "cli/incomplete_icon.h"
#include "cli/json_writer.h"
#include "platform/like_pattern.h"
#include "platform/path_text.h"
#include "png/default_decoder.h"

#include <algorithm>
#include <array>
#include <string>

namespace orvu::cli {
namespace {

constexpr std::string_view Help = R"(usage: orvu-icons-cli list [--json] [--pattern GLOB] PATH...

For every file, every icon: its position (from 1), its resource id or name,
its language, and each of its images with width x height, bit depth, format
(DIB or PNG) and size in bytes: its size as its own header says, and a DIB's
depth; where the icon's directory lists it otherwise, "listed as" what the
directory says.
A * marks the image Windows shows at 32 x 32 (Windows goes by the directory).
Then its cursors, then its animated cursors and icons, each numbered from 1
among its kind, each image of a cursor with its hotspot (x,y from the top
left). Files without cursors are listed as before.
A folder is walked with its subfolders, reading the files whose names match
GLOB; files named here are always read.

  --json          one JSON object per file per line (JSON Lines):
                  {"path", "error", "icons": [{"position", "kind", "id",
                  "name", "language", "large", "images": [{"width",
                  "height", "bits", "colours", "format", "bytes",
                  "hotspot", "listed_as"}], "error"}]}
                  "large" is the index in "images", from 0, of the image
                  Windows shows at 32 x 32; "kind" is "icon", "cursor" or
                  "animated", "position" counts among the groups of that
                  kind; "hotspot" ([x, y]) is there for cursor images only;
                  "listed_as" ({"width", "height", "bits"}) only for an
                  image that the directory lists otherwise
  --pattern GLOB  the names of the files read in folders, in any letter case
                  (default *.exe; * for every file)
)";

std::string plural(std::uint64_t count, const char* noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

const char* formatName(ImageFormat format, bool json) {
    switch (format) {
    case ImageFormat::Dib:
        return json ? "dib" : "DIB";
    case ImageFormat::Png:
        return json ? "png" : "PNG";
    case ImageFormat::Missing:
        break;
    }
    return "missing";
}

void padTo(std::string& text, std::size_t width) {
    if (text.size() < width)
        text.append(width - text.size(), ' ');
}

// "  #1  id 2      lang 1033  16×16 32-bit DIB 1128 B, 32×32 32-bit DIB 4264 B*"
// and for a cursor "  cursor #1  id 2  32×32 1-bit DIB 308 B hotspot 3,9*".
void writeIconText(std::string& text, GroupKind kind, std::uint32_t position,
                   std::size_t positionWidth, const Result<IconDescription>& description) {
    std::string number = "#" + std::to_string(position);
    padTo(number, positionWidth);
    if (kind != GroupKind::Icon)
        number = kindName(kind) + (" " + number);
    text += "  " + number + "  ";
    if (!description) {
        text += printable(describe(description.failure())) + "\n";
        return;
    }
    const IconName& name = description->name;
    if (name.id || !name.name.empty()) {
        std::string field = name.id ? "id " + std::to_string(*name.id) : printable(name.name);
        padTo(field, 8); // "id 65535"
        text += field + "  ";
    }
    if (name.language) {
        std::string field = "lang " + std::to_string(*name.language);
        padTo(field, 10); // "lang 65535"
        text += field + "  ";
    }
    for (std::size_t i = 0; i < description->images.size(); ++i) {
        const ImageDescription& image = description->images[i];
        if (i != 0)
            text += ", ";
        text += std::to_string(image.width) + "×" + std::to_string(image.height) + " ";
        if (image.bitCount != 0)
            text += std::to_string(image.bitCount) + "-bit ";
        text += formatName(image.format, false);
        if (image.format != ImageFormat::Missing)
            text += " " + std::to_string(image.bytes) + " B";
        if (image.hotspot)
            text += " hotspot " + std::to_string(image.hotspot->x) + "," +
                    std::to_string(image.hotspot->y);
        if (const auto& listed = image.listed) {
            text += " listed as " + std::to_string(listed->width) + "×" +
                    std::to_string(listed->height);
            if (listed->bitCount != 0 && listed->bitCount != image.bitCount)
                text += " " + std::to_string(listed->bitCount) + "-bit";
        }
        if (description->large == i)
            text += '*';
    }
    text += '\n';
}

void writeIconJson(JsonWriter& json, GroupKind kind, std::uint32_t position,
                   const Result<IconDescription>& description) {
    json.beginObject();
    json.key("position");
    json.number(position);
    json.key("kind");
    json.string(kindName(kind));
    const IconDescription none;
    const IconDescription& icon = description ? *description : none;
    json.key("id");
    json.numberOrNull(icon.name.id);
    json.key("name");
    if (!icon.name.id && !icon.name.name.empty())
        json.string(icon.name.name);
    else
        json.null();
    json.key("language");
    json.numberOrNull(icon.name.language);
    json.key("large");
    json.numberOrNull(icon.large);
    json.key("images");
    json.beginArray();
    for (const ImageDescription& image : icon.images) {
        json.beginObject();
        json.key("width");
        json.number(static_cast<std::uint64_t>(image.width));
        json.key("height");
        json.number(static_cast<std::uint64_t>(image.height));
        json.key("bits");
        json.number(static_cast<std::uint64_t>(image.bitCount));
        json.key("colours");
        json.number(static_cast<std::uint64_t>(image.colourCount));
        json.key("format");
        json.string(formatName(image.format, true));
        json.key("bytes");
        json.number(image.bytes);
        if (image.hotspot) {
            json.key("hotspot");
            json.beginArray();
            json.integer(image.hotspot->x);
            json.integer(image.hotspot->y);
            json.endArray();
        }
        if (const auto& listed = image.listed) {
            json.key("listed_as");
            json.beginObject();
            json.key("width");
            json.number(static_cast<std::uint64_t>(listed->width));
            json.key("height");
            json.number(static_cast<std::uint64_t>(listed->height));
            json.key("bits");
            json.number(static_cast<std::uint64_t>(listed->bitCount));
            json.endObject();
        }
        json.endObject();
    }
    json.endArray();
    json.key("error");
    if (!description)
        json.string(describe(description.failure()));
    else if (const std::string incomplete = incompleteness(*description); !incomplete.empty())
        json.string(incomplete);
    else
        json.null();
    json.endObject();
}

// Lists one file, handing its text on icon by icon: a file may hold 65 535
// icons. False when the file fails the command. Each failure is also said on
// standard error, unless the listing, which says it too, goes to the same
// terminal.
bool listFile(Input& input, bool asJson, bool errorsInListing, Output& out) {
    bool ok = true;
    const auto fail = [&](const std::string& message) {
        if (!errorsInListing)
            complain(message);
        ok = false;
    };
    const std::string path = displayText(input.path);
    const auto problem = problemOf(input);
    if (problem && failsTheCommand(input, *problem))
        fail(path + ": " + describe(*problem));
    std::array<std::uint32_t, GroupKinds.size()> counts{};
    for (std::size_t i = 0; i < GroupKinds.size() && !problem; ++i)
        counts[i] = input.library->count(GroupKinds[i]);

    std::string text;
    JsonWriter json(text);
    if (asJson) {
        json.beginObject();
        json.key("path");
        json.string(path);
        json.key("error");
        if (problem)
            json.string(describe(*problem));
        else
            json.null();
        json.key("icons");
        json.beginArray();
    } else {
        std::string counted = plural(counts[0], "icon");
        if (counts[1] != 0)
            counted += ", " + plural(counts[1], "cursor");
        if (counts[2] != 0)
            counted += ", " + std::to_string(counts[2]) + " animated";
        text = printable(path) + ": " + (problem ? printable(describe(*problem)) : counted) + "\n";
    }
    const std::size_t positionWidth =
        1 + std::to_string(*std::max_element(counts.begin(), counts.end())).size();
    for (std::size_t i = 0; i < GroupKinds.size(); ++i) {
        const GroupKind kind = GroupKinds[i];
        for (std::uint32_t k = 0; k < counts[i]; ++k) {
            input.library->startRequest(); // each icon on its own
            const auto description = input.library->describe(GroupRef{kind, k});
            const std::string incomplete =
                description ? incompleteness(*description) : std::string();
            if (!description || !incomplete.empty())
                fail(path + ": " + kindName(kind) + " " + std::to_string(k + 1) + ": " +
                     (description ? incomplete : describe(description.failure())));
            if (asJson)
                writeIconJson(json, kind, k + 1, description);
            else
                writeIconText(text, kind, k + 1, positionWidth, description);
            out.write(text);
            text.clear();
        }
    }
    if (asJson) {
        json.endArray();
        json.endObject();
        text += '\n';
    }
    out.write(text);
    return ok;
}

int runList(const Arguments& arguments, Output& out) {
    if (arguments.operands().empty())
        throw UsageError("list needs a PATH");
    const bool asJson = arguments.has("--json");
    const std::string pattern = arguments.value("--pattern").value_or(ExecutablePattern);
    const bool errorsInListing = outputAndErrorsShareATerminal();
    int status = Succeeded;
    walkInputs(arguments.operands(), pattern, defaultPngDecoder(), std::nullopt, [&](Input& input) {
        if (!listFile(input, asJson, errorsInListing, out))
            status = SomeInputsFailed;
        out.flush(); // each file's line as soon as it is known
    });
    return status;
}

} // namespace

const Command ListCommand{
    "list",
    "list [--json] [--pattern GLOB] PATH...\n"
    "      every icon and cursor of every file: id, language, and each image",
    Help,
    {{"--json", "", false}, {"--pattern", "", true}},
    runList,
};

} // namespace orvu::cli

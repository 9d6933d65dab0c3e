// orvu-icons-cli thumbnail: the freedesktop.org thumbnailer.

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/file_uri.h"
#include "icons/icon_scaling.h"
#include "platform/file_in_place.h"
#include "platform/icon_files.h"
#include "platform/path_text.h"
#include "png/default_decoder.h"
#include "png/png_encoder.h"

#include <algorithm>
#include <optional>

namespace orvu::cli {
namespace {

constexpr std::string_view Help = R"(usage: orvu-icons-cli thumbnail [-s SIZE] INPUT OUTPUT.png

Writes the icon that Windows shows for INPUT (its first icon; of a cursor
file, its cursor; of an animated cursor, its first frame) as a PNG picture
with alpha channel, at most SIZE x SIZE: the icon's smallest image that is at
least SIZE wide or high, or where none is, its largest. A larger image is
scaled down, keeping its aspect, each pixel the average of the area it
covers; a smaller one keeps its size. INPUT is a path or a file:// URI.
When the file has no usable icon, nothing is written and the status is 1.
An OUTPUT that exists is written in place, as the same file; one that is a
symbolic link, or INPUT itself by any name, is refused (status 1).
File managers call it through share/thumbnailers/orvu-icons.thumbnailer.

  -s, --size SIZE  the largest width and height (default 256)
)";

constexpr std::uint64_t DefaultSize = 256;

// The group a file is shown by: its first icon, or where it has none (a
// cursor or animated cursor file) its first cursor or animation; none for a
// file without any.
std::optional<GroupRef> shownGroup(const IconLibrary& library) {
    for (const GroupKind kind : GroupKinds)
        if (library.count(kind) != 0)
            return GroupRef{kind, 0};
    return std::nullopt;
}

// The thumbnail's PNG bytes, or why the file has none.
Result<std::vector<std::uint8_t>> thumbnailOf(IconLibrary& library, int size) {
    if (library.problem())
        return *library.problem();
    const GroupRef shown = shownGroup(library).value_or(GroupRef{});
    // An icon's images are told by their headers and read one by one as
    // they are tried; a cursor's and an animation frame's all together.
    std::optional<IconImages> held;
    IconGroup entries;
    std::vector<ImageSize> sizes;
    if (shown.kind != GroupKind::Icon) {
        auto images = library.images(shown);
        if (!images)
            return images.failure();
        held = std::move(*images);
        for (const IconImage& image : held->images)
            sizes.push_back(ownSize(shown.kind, image.entry, ByteView(image.bytes)));
    } else {
        auto group = library.group(shown);
        auto description =
            group ? library.describe(shown) : Result<IconDescription>(group.failure());
        if (!description)
            return description.failure();
        entries = std::move(*group);
        for (const ImageDescription& image : description->images)
            sizes.push_back({image.width, image.height, image.bitCount});
    }
    Failure why = damaged("an icon group without images");
    for (const std::size_t i : pictureOrder(sizes, size)) {
        const auto image =
            held ? Result<IconImage>(held->images[i]) : library.image(entries.entries[i]);
        if (!image) {
            why = image.failure();
            continue;
        }
        auto decoded = library.decode(*image);
        if (!decoded) {
            why = decoded.failure();
            continue;
        }
        const int side = std::max(decoded->width, decoded->height);
        if (side <= size) {
            // A PNG that decodes, fits and is whole to its end is already the
            // picture: no need to compress it again. A damaged one (a wrong
            // checksum, no end), which strict readers refuse, is encoded afresh.
            if (isWholePng(ByteView(image->bytes)))
                return image->bytes;
            return encodePng(*decoded);
        }
        const auto scaled = [&](int length) {
            return std::max(1, static_cast<int>((std::int64_t{length} * size + side / 2) / side));
        };
        const int width = scaled(decoded->width);
        const int height = scaled(decoded->height);
        return encodePng(fitIconToSize(std::move(*decoded), width, height));
    }
    return why;
}

int runThumbnail(const Arguments& arguments, Output&) {
    const auto& operands = arguments.operands();
    if (operands.size() != 2)
        throw UsageError("thumbnail needs an INPUT and an OUTPUT.png");
    const int size = static_cast<int>(arguments.number("--size", 1, 0xFFFF).value_or(DefaultSize));
    std::string input = operands[0];
    if (isFileUri(input)) {
        const auto path = pathOfFileUri(input);
        if (!path) {
            complain(input + ": not a local file");
            return SomeInputsFailed;
        }
        input = *path;
    }
    const std::filesystem::path inputPath = pathFromArgument(input);
    const std::filesystem::path outputPath = pathFromArgument(operands[1]);

    auto library = openIconLibrary(inputPath, defaultPngDecoder());
    if (library && !library->problem() && !shownGroup(*library)) {
        complain(displayText(inputPath) + ": no thumbnail: the file has no icons");
        return SomeInputsFailed;
    }
    const auto png = library ? thumbnailOf(*library, size)
                             : Result<std::vector<std::uint8_t>>(library.failure());
    if (!png) {
        complain(displayText(inputPath) + ": no thumbnail: " + describe(png.failure()));
        return SomeInputsFailed;
    }
    if (const auto written = writeFileInPlace(outputPath, *png, inputPath); !written) {
        const Failure& why = written.failure();
        complain("cannot write " + displayText(outputPath) + ": " +
                 (why.kind == Failure::Kind::Exists ? "it is the input file" : describe(why)));
        return SomeInputsFailed;
    }
    return Succeeded;
}

} // namespace

const Command ThumbnailCommand{
    "thumbnail",
    "thumbnail [-s SIZE] INPUT OUTPUT.png\n"
    "      the icon Windows shows for a file, as a PNG thumbnail",
    Help,
    {{"--size", "-s", true}},
    runThumbnail,
};

} // namespace orvu::cli

#include "harvest/messages.h"

#include "harvest/tiles.h"
#include "platform/path_text.h"
#include "platform/system_failure.h"
#include "texts/text.h"

#include <algorithm>

namespace orvu::messages {
namespace {

constexpr std::size_t SkippedNamedInReport = 5;
constexpr const char* Separator = " · ";

// The last line of a list cut short.
const char* moreNotListed() {
    return text("list cut short", "...");
}

} // namespace

const char* idlePrompt() {
    return text("Click \"Start\" to extract icons");
}

const char* stopped() {
    return text("Extraction stopped");
}

const char* noTileSelected() {
    return text("Please select an icon first");
}

const char* dropOneItem() {
    return text("Please drop only one file or one folder.");
}

namespace {

// The system's reason in words of the catalogue, where it is one a person
// meets often; the system's own words otherwise.
std::string systemReason(const Failure& failure) {
    switch (systemReasonOf(failure.systemError)) {
    case SystemReason::Missing:
        return text("the file or folder does not exist");
    case SystemReason::NoPermission:
        return text("permission denied");
    case SystemReason::DiskFull:
        return text("the disk is full");
    case SystemReason::ReadOnly:
        return text("the disk is read-only");
    case SystemReason::NameTooLong:
        return text("the name is too long");
    case SystemReason::IsAFolder:
        return text("it is a folder");
    case SystemReason::Other:
        break;
    }
    return failure.detail.empty() ? text("system error") : failure.detail;
}

} // namespace

std::string reason(const Failure& failure) {
    switch (failure.kind) {
    case Failure::Kind::System:
        return systemReason(failure);
    case Failure::Kind::NotAFile:
        return text("not a regular file");
    case Failure::Kind::NotAFolder:
        return text("not a folder");
    case Failure::Kind::NotIconFile:
        return text("not an executable or icon file");
    case Failure::Kind::Damaged:
        return text("the file is damaged");
    case Failure::Kind::OverLimit:
        return text("the file exceeds the reading limits");
    case Failure::Kind::NoSuchIcon:
        return text("the file has no such icon");
    case Failure::Kind::Exists:
        return text("the file already exists");
    case Failure::Kind::Changed:
        return text("the file has changed since its icons were extracted");
    }
    return failure.detail;
}

std::string folderNotFound(const std::filesystem::path& folder, const Failure& failure) {
    return fillIn(text("Cannot find the folder \"%1\": %2. Please choose the folder to extract "
                       "icons from again."),
                  displayText(folder), reason(failure));
}

std::string cannotReadFile(const std::filesystem::path& file, const Failure& failure) {
    return fillIn(text("Cannot read the file \"%1\": %2"), displayText(file), reason(failure));
}

std::string cannotReadIcon(const IconOrigin& origin, const Failure& failure) {
    const std::filesystem::path file = origin.file ? *origin.file : std::filesystem::path();
    return fillIn(text("Cannot read icon %2 of the file \"%1\": %3"), displayText(file),
                  std::uint64_t{origin.index} + 1, reason(failure));
}

std::string keyTaken(const std::string& key, const std::filesystem::path& file) {
    return fillIn(text("The image key \"%1\" already exists; the extraction stopped at \"%2\"."),
                  key, displayText(file));
}

std::string skippedEntries(const std::vector<Skipped>& skipped) {
    std::string message =
        fillIn(text("%1 folder or file could not be read and was skipped:",
                    "%1 folders or files could not be read and were skipped:", skipped.size()),
               skipped.size());
    const std::size_t named = std::min(skipped.size(), SkippedNamedInReport);
    for (std::size_t i = 0; i < named; ++i) {
        // TRANSLATORS: a path and why it could not be read.
        message += "\n" + fillIn(text("%1 (%2)"), displayText(skipped[i].path),
                                 reason(skipped[i].failure));
    }
    if (skipped.size() > named)
        message += std::string("\n") + moreNotListed();
    return message;
}

std::string tileLimitReached(std::size_t limit) {
    return fillIn(text("The list has reached its limit of %1 icons: the extraction has stopped, "
                       "and the icons extracted so far stay in the list."),
                  limit);
}

std::string cannotSave(const std::filesystem::path& file, const Failure& failure) {
    return fillIn(text("Cannot save the file \"%1\": %2"), displayText(file), reason(failure));
}

std::string replaceExisting(const std::filesystem::path& file) {
    return fillIn(text("The file \"%1\" already exists. Do you want to replace it?"),
                  displayText(file));
}

std::string tileName(const IconOrigin& origin) {
    const std::string file = origin.file ? displayText(origin.file->filename()) : std::string();
    if (origin.kind != GroupKind::Icon) {
        // TRANSLATORS: a file's name and the number of one of its cursors.
        return fillIn(text("%1 cursor %2"), file, std::uint64_t{origin.index} + 1);
    }
    // TRANSLATORS: a file's name and the number of one of its icons.
    return fillIn(text("%1 icon %2"), file, std::uint64_t{origin.index} + 1);
}

std::string savingProgress(std::size_t done, std::size_t total) {
    return fillIn(text("Saving %1/%2 ..."), done, total);
}

std::string replaceExistingFiles(std::size_t count) {
    return fillIn(text("The folder already holds %1 file of the same name. Do you want to "
                       "replace it?\nChoose \"No\" to save under new names and replace "
                       "nothing, \"Cancel\" to save nothing.",
                       "The folder already holds %1 files of the same names. Do you want to "
                       "replace them?\nChoose \"No\" to save under new names and replace "
                       "nothing, \"Cancel\" to save nothing.",
                       count),
                  count);
}

std::string savedSummary(std::size_t saved, const std::vector<TileFailure>& failed, bool stopped) {
    std::string message = failed.empty()
                              ? fillIn(text("Saved %1 icon.", "Saved %1 icons.", saved), saved)
                              : fillIn(text("Saved %1 icon; %2 could not be saved:",
                                            "Saved %1 icons; %2 could not be saved:", saved),
                                       saved, failed.size());
    if (stopped)
        message = fillIn(text("Saving stopped. %1"), message);
    const std::size_t named = std::min(failed.size(), SkippedNamedInReport);
    for (std::size_t i = 0; i < named; ++i) {
        // TRANSLATORS: a tile ("notepad.exe icon 1") and why it could not be saved.
        message += "\n" + fillIn(text("%1: %2"), failed[i].tile, reason(failed[i].failure));
    }
    if (failed.size() > named)
        message += std::string("\n") + moreNotListed();
    return message;
}

std::string incompleteIcon(const std::filesystem::path& file, std::uint32_t index,
                           std::size_t missing) {
    return fillIn(text("Icon %2 of the file \"%1\" lacks %3 of its images; the others were saved."),
                  displayText(file), std::uint64_t{index} + 1, missing);
}

std::string incompleteIcons(std::size_t icons) {
    return fillIn(text("%1 of them lacks images; the images it has were saved.",
                       "%1 of them lack images; the images they have were saved.", icons),
                  icons);
}

std::string iconHeading(std::uint32_t index, const IconName& name, GroupKind kind) {
    std::string heading = kind == GroupKind::Icon
                              ? fillIn(text("icon heading", "Icon %1"), std::uint64_t{index} + 1)
                              : cursorTileText(std::uint64_t{index} + 1);
    if (name.id)
        heading += Separator + fillIn(text("ID %1"), *name.id);
    else if (!name.name.empty())
        heading += Separator + fillIn(text("Name %1"), name.name);
    // Language 0 is the neutral one, which says nothing to a reader.
    if (name.language && *name.language != 0)
        heading += Separator + fillIn(text("Language %1"), *name.language);
    return heading;
}

std::string hotspotText(const Hotspot& hotspot) {
    return fillIn(text("Hotspot (%1, %2)"), hotspot.x, hotspot.y);
}

std::string imageLabel(const ImageDescription& image) {
    std::string label = std::to_string(image.width) + " × " + std::to_string(image.height);
    if (image.bitCount > 0)
        label += Separator + fillIn(text("%1-bit"), image.bitCount);
    switch (image.format) {
    case ImageFormat::Png:
        label += std::string(Separator) + "PNG";
        break;
    case ImageFormat::Dib:
        label += std::string(Separator) + "BMP";
        break;
    case ImageFormat::Missing:
        label += std::string(Separator) + text("missing");
        break;
    }
    if (image.hotspot)
        label += Separator + hotspotText(*image.hotspot);
    if (image.listed)
        label += Separator +
                 fillIn(text("listed as %1 × %2"), image.listed->width, image.listed->height);
    return label;
}

std::string tileToolTip(const std::filesystem::path& file, std::uint32_t index,
                        const IconName& name, const std::vector<ImageDescription>& images,
                        GroupKind kind) {
    std::vector<std::pair<int, int>> sizes;
    for (const ImageDescription& image : images)
        sizes.emplace_back(image.width, image.height);
    std::sort(sizes.begin(), sizes.end());
    sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
    std::string list;
    for (const auto& [width, height] : sizes) {
        if (!list.empty())
            list += ", ";
        list += std::to_string(width);
        if (height != width)
            list += "×" + std::to_string(height);
    }
    return displayText(file.filename()) + "\n" + iconHeading(index, name, kind) + "\n" +
           fillIn(text("Sizes: %1"), list);
}

} // namespace orvu::messages

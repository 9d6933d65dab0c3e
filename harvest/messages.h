#pragma once

#include "harvest/icon_origin.h"
#include "icons/icon_library.h"
#include "icons/result.h"

#include <filesystem>
#include <string>
#include <vector>

// The messages the harvest and the windows compose for the user, from the
// texts of the catalogue (texts/text.h) in the language in use. A failure's
// kind becomes words; the system's own reason, where there is one, is
// appended as the system gives it.
namespace orvu::messages {

// The status line before a harvest and after one that was left for a new
// source; after one the user stopped.
const char* idlePrompt();
const char* stopped();
// An action on "the selected tile" with none selected.
const char* noTileSelected();
// A drop of something other than one file or one folder.
const char* dropOneItem();

// Something the harvest could not read and went past.
struct Skipped {
    std::filesystem::path path;
    Failure failure;
};

std::string reason(const Failure& failure);

std::string folderNotFound(const std::filesystem::path& folder, const Failure& failure);
std::string cannotReadFile(const std::filesystem::path& file, const Failure& failure);
// A tile's icon read again from its file, and failing.
std::string cannotReadIcon(const IconOrigin& origin, const Failure& failure);
std::string keyTaken(const std::string& key, const std::filesystem::path& file);
std::string skippedEntries(const std::vector<Skipped>& skipped);
std::string tileLimitReached(std::size_t limit);
std::string cannotSave(const std::filesystem::path& file, const Failure& failure);
std::string replaceExisting(const std::filesystem::path& file);

// A tile in a list of failures: the file's name and the icon's number.
std::string tileName(const IconOrigin& origin);
// Saving many: the progress on the status line ("done/total"), the
// question before replacing files already there, and the one message at
// the end.
std::string savingProgress(std::size_t done, std::size_t total);
std::string replaceExistingFiles(std::size_t count);
struct TileFailure {
    std::string tile; // tileName()
    Failure failure;
};
std::string savedSummary(std::size_t saved, const std::vector<TileFailure>& failed, bool stopped);
// An icon saved without `missing` images that its file lacks, said once when
// it is saved alone; and of many saved, how many were saved so.
std::string incompleteIcon(const std::filesystem::path& file, std::uint32_t index,
                           std::size_t missing);
std::string incompleteIcons(std::size_t icons);

// How an icon is named for people: its number from 1 among its kind ("Icon
// 2", "Cursor 2"), then its resource id or name and its language where it has
// them, joined by " · ".
std::string iconHeading(std::uint32_t index, const IconName& name,
                        GroupKind kind = GroupKind::Icon);
// A cursor's hotspot: "Hotspot (3, 9)".
std::string hotspotText(const Hotspot& hotspot);
// One image: its size, its colour depth and its format, a cursor image's
// hotspot, and the size its directory lists where that is another, joined
// by " · ".
std::string imageLabel(const ImageDescription& image);
// A tile's tip: the file's name, the icon's heading and the sizes its
// images are.
std::string tileToolTip(const std::filesystem::path& file, std::uint32_t index,
                        const IconName& name, const std::vector<ImageDescription>& images,
                        GroupKind kind = GroupKind::Icon);

} // namespace orvu::messages

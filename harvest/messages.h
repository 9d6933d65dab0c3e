#pragma once

#include "harvest/icon_origin.h"
#include "icons/icon_library.h"
#include "icons/result.h"

#include <filesystem>
#include <string>
#include <vector>

// Every text the harvest and the windows show the user, in the user
// interface's language. A failure's kind becomes Chinese words; the system's
// own reason, where there is one, is appended as the system gives it.
namespace orvu::messages {

inline constexpr const char* IdlePrompt = "点击“开始”提取图标";
inline constexpr const char* Stopped = "提取已停止";
inline constexpr const char* NoTileSelected = "请先选择一个图标";

// Something the harvest could not read and went past.
struct Skipped {
    std::filesystem::path path;
    Failure failure;
};

std::string reason(const Failure& failure);

std::string folderNotFound(const std::filesystem::path& folder, const Failure& failure);
std::string cannotReadFile(const std::filesystem::path& file, const Failure& failure);
// "无法读取“notepad.exe”的图标 1：…": a tile's icon read again from its file.
std::string cannotReadIcon(const IconOrigin& origin, const Failure& failure);
std::string keyTaken(const std::string& key, const std::filesystem::path& file);
std::string skippedEntries(const std::vector<Skipped>& skipped);
std::string tileLimitReached(std::size_t limit);
std::string cannotSave(const std::filesystem::path& file, const Failure& failure);
std::string replaceExisting(const std::filesystem::path& file);

// A tile in a list of failures: "notepad.exe 图标 1".
std::string tileName(const IconOrigin& origin);
// Saving many: "正在保存 120/1184 …", the question before replacing files
// already there, and the one message at the end.
std::string savingProgress(std::size_t done, std::size_t total);
std::string replaceExistingFiles(std::size_t count);
struct TileFailure {
    std::string tile; // tileName()
    Failure failure;
};
std::string savedSummary(std::size_t saved, const std::vector<TileFailure>& failed, bool stopped);
// A drop of something other than one file or one folder.
inline constexpr const char* DropOneItem = "请只拖入一个文件或一个文件夹。";

// How an icon is named for people: "图标 3 · ID 101 · 语言 2052",
// "图标 1 · 名称 MAINICON".
std::string iconHeading(std::uint32_t index, const IconName& name);
// One image: "256 × 256 · 32 位 · PNG".
std::string imageLabel(const ImageDescription& image);
// A tile's tip: the file's name, the icon's heading and the sizes it holds
// ("尺寸：16, 32, 48, 256").
std::string tileToolTip(const std::filesystem::path& file, std::uint32_t index,
                        const IconName& name, const IconGroup& group);

} // namespace orvu::messages

#pragma once

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
std::string keyTaken(const std::string& key, const std::filesystem::path& file);
std::string skippedEntries(const std::vector<Skipped>& skipped);
std::string tileLimitReached(std::size_t limit);
std::string cannotSave(const std::filesystem::path& file, const Failure& failure);

} // namespace orvu::messages

#include "harvest/messages.h"

#include "platform/path_text.h"

#include <algorithm>

namespace orvu::messages {
namespace {

constexpr std::size_t SkippedNamedInReport = 5;

std::string quoted(const std::filesystem::path& path) {
    return "“" + displayText(path) + "”";
}

} // namespace

std::string reason(const Failure& failure) {
    switch (failure.kind) {
    case Failure::Kind::System:
        return failure.detail.empty() ? "系统错误" : failure.detail;
    case Failure::Kind::NotAFile:
        return "不是普通文件";
    case Failure::Kind::NotAFolder:
        return "不是文件夹";
    case Failure::Kind::NotIconFile:
        return "不是可执行文件或图标文件";
    case Failure::Kind::Damaged:
        return "文件已损坏";
    case Failure::Kind::OverLimit:
        return "文件超出读取限制";
    case Failure::Kind::NoSuchIcon:
        return "文件中没有这个图标";
    case Failure::Kind::Exists:
        return "文件已存在";
    }
    return failure.detail;
}

std::string folderNotFound(const std::filesystem::path& folder, const Failure& failure) {
    return "找不到文件夹" + quoted(folder) + "：" + reason(failure) +
           "。请重新选择要提取图标的文件夹。";
}

std::string cannotReadFile(const std::filesystem::path& file, const Failure& failure) {
    return "无法读取文件" + quoted(file) + "：" + reason(failure);
}

std::string keyTaken(const std::string& key, const std::filesystem::path& file) {
    return "图像关键字“" + key + "”已经存在，提取在" + quoted(file) + "处停止。";
}

std::string skippedEntries(const std::vector<Skipped>& skipped) {
    std::string message =
        "有 " + std::to_string(skipped.size()) + " 个文件夹或文件无法读取，已跳过：";
    const std::size_t named = std::min(skipped.size(), SkippedNamedInReport);
    for (std::size_t i = 0; i < named; ++i)
        message += "\n" + displayText(skipped[i].path) + "（" + reason(skipped[i].failure) + "）";
    if (skipped.size() > named)
        message += "\n……";
    return message;
}

std::string tileLimitReached(std::size_t limit) {
    return "图标已达 " + std::to_string(limit) +
           " 个的上限，提取已停止，已提取的图标保留在列表中。";
}

std::string cannotSave(const std::filesystem::path& file, const Failure& failure) {
    return "无法保存文件" + quoted(file) + "：" + reason(failure);
}

} // namespace orvu::messages

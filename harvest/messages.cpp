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
    case Failure::Kind::Changed:
        return "文件在提取之后已经改变";
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

std::string cannotReadIcon(const IconOrigin& origin, const Failure& failure) {
    const std::filesystem::path file = origin.file ? *origin.file : std::filesystem::path();
    return "无法读取文件" + quoted(file) + "中的图标 " +
           std::to_string(std::uint64_t{origin.index} + 1) + "：" + reason(failure);
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

std::string replaceExisting(const std::filesystem::path& file) {
    return "文件" + quoted(file) + "已经存在。要替换它吗？";
}

std::string tileName(const IconOrigin& origin) {
    const std::string file = origin.file ? displayText(origin.file->filename()) : std::string();
    return file + " 图标 " + std::to_string(std::uint64_t{origin.index} + 1);
}

std::string savingProgress(std::size_t done, std::size_t total) {
    return "正在保存 " + std::to_string(done) + "/" + std::to_string(total) + " …";
}

std::string replaceExistingFiles(std::size_t count) {
    return "文件夹中已有 " + std::to_string(count) +
           " 个同名文件。要替换它们吗？\n选“否”则另取新名称保存，不替换任何文件。";
}

std::string savedSummary(std::size_t saved, const std::vector<TileFailure>& failed, bool stopped) {
    std::string message = stopped ? "保存已停止。" : "";
    message += "已保存 " + std::to_string(saved) + " 个图标";
    if (failed.empty())
        return message + "。";
    message += "，" + std::to_string(failed.size()) + " 个未能保存：";
    const std::size_t named = std::min(failed.size(), SkippedNamedInReport);
    for (std::size_t i = 0; i < named; ++i)
        message += "\n" + failed[i].tile + "：" + reason(failed[i].failure);
    if (failed.size() > named)
        message += "\n……";
    return message;
}

std::string iconHeading(std::uint32_t index, const IconName& name) {
    std::string heading = "图标 " + std::to_string(std::uint64_t{index} + 1);
    if (name.id)
        heading += " · ID " + std::to_string(*name.id);
    else if (!name.name.empty())
        heading += " · 名称 " + name.name;
    // Language 0 is the neutral one, which says nothing to a reader.
    if (name.language && *name.language != 0)
        heading += " · 语言 " + std::to_string(*name.language);
    return heading;
}

std::string imageLabel(const ImageDescription& image) {
    std::string label = std::to_string(image.width) + " × " + std::to_string(image.height);
    if (image.bitCount > 0)
        label += " · " + std::to_string(image.bitCount) + " 位";
    switch (image.format) {
    case ImageFormat::Png:
        return label + " · PNG";
    case ImageFormat::Dib:
        return label + " · BMP";
    case ImageFormat::Missing:
        break;
    }
    return label + " · 缺失";
}

std::string tileToolTip(const std::filesystem::path& file, std::uint32_t index,
                        const IconName& name, const IconGroup& group) {
    std::vector<std::pair<int, int>> sizes;
    for (const GroupEntry& entry : group.entries)
        sizes.emplace_back(entry.pixelWidth(), entry.pixelHeight());
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
    return displayText(file.filename()) + "\n" + iconHeading(index, name) + "\n尺寸：" + list;
}

} // namespace orvu::messages

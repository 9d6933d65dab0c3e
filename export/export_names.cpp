#include "export/export_names.h"

#include "platform/atomic_file.h"
#include "platform/file_names.h"
#include "platform/text_case.h"

namespace orvu {
namespace fs = std::filesystem;

namespace {

// Against a file system that says every name is taken.
constexpr int WriteAttempts = 100;

std::string utf8(const fs::path& name) {
    const std::u8string text = name.u8string();
    return {text.begin(), text.end()};
}

} // namespace

ExportNames::ExportNames(fs::path folder, std::string extension, ExistingFiles existing)
    : m_folder(std::move(folder)), m_extension(std::move(extension)), m_existing(existing) {}

fs::path ExportNames::nameFor(const fs::path& stem, const std::string& suffix) {
    if (!m_longestName)
        m_longestName = longestNameIn(m_folder);
    fs::path name = stem;
    name += suffix;
    const std::size_t length = nameLength(name);
    if (length <= *m_longestName)
        return name;
    const std::size_t over = length - *m_longestName;
    const std::size_t stemLength = nameLength(stem);
    name = cutName(stem, stemLength > over ? stemLength - over : 0);
    name += suffix;
    return name;
}

fs::path ExportNames::next(const fs::path& stem, std::uint32_t position) {
    const std::string base = "_" + std::to_string(position);
    std::uint64_t& counter = m_counters[caseInsensitiveKey(utf8(stem) + base)];
    for (;;) {
        ++counter;
        const fs::path name = nameFor(
            stem, (counter == 1 ? base : base + "-" + std::to_string(counter)) + m_extension);
        std::string key = caseInsensitiveKey(utf8(name));
        if (!taken(key)) {
            m_given.insert(std::move(key));
            return m_folder / name;
        }
    }
}

ExportNames::Written ExportNames::write(const fs::path& stem, std::uint32_t position,
                                        const std::vector<std::uint8_t>& bytes) {
    for (int attempt = 1;; ++attempt) {
        fs::path path = next(stem, position);
        Result<void> result = m_existing == ExistingFiles::Replace
                                  ? replaceFileAtomically(path, bytes, Links::ReplaceTheLink)
                                  : createFileAtomically(path, bytes);
        const bool nameInTheWay = !result && (result.failure().kind == Failure::Kind::Exists ||
                                              result.failure().kind == Failure::Kind::NotAFile);
        if (!nameInTheWay || attempt == WriteAttempts)
            return {std::move(path), std::move(result)};
    }
}

bool ExportNames::taken(const std::string& key) {
    if (m_given.contains(key))
        return true;
    if (m_existing == ExistingFiles::Replace)
        return false;
    // Anything there counts, a broken link included. A folder that can't be
    // listed holds nothing here: writing to it then fails and says why.
    if (!m_onDisk) {
        m_onDisk.emplace();
        if (const auto names = namesIn(m_folder.empty() ? fs::path(".") : m_folder)) {
            for (const std::string& name : *names)
                m_onDisk->insert(caseInsensitiveKey(name));
        }
    }
    return m_onDisk->contains(key);
}

} // namespace orvu

#include "export/export_names.h"

#include "platform/atomic_file.h"
#include "platform/text_case.h"

#include <system_error>

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

std::filesystem::path ExportNames::next(const fs::path& stem, std::uint32_t position) {
    const std::string base = "_" + std::to_string(position);
    for (std::uint64_t counter = 1;; ++counter) {
        fs::path name = stem;
        name += counter == 1 ? base : base + "-" + std::to_string(counter);
        name += m_extension;
        const std::string key = caseInsensitiveKey(utf8(name));
        if (!taken(name, key)) {
            m_given.insert(key);
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

bool ExportNames::taken(const fs::path& name, const std::string& key) const {
    if (m_given.contains(key))
        return true;
    if (m_existing == ExistingFiles::Replace)
        return false;
    // Anything there counts, a broken link included. A name that can't be
    // looked up is free here: writing to it then fails and says why.
    std::error_code error;
    return fs::exists(fs::symlink_status(m_folder / name, error));
}

} // namespace orvu

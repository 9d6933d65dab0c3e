#include "platform/folder_listing.h"

#include "platform/system_failure.h"
#include "platform/text_case.h"

#include <algorithm>
#include <system_error>

#ifdef _WIN32
#include "platform/windows_api.h"
#else
#include <sys/stat.h>
#endif

namespace orvu {
namespace fs = std::filesystem;

namespace {

std::string nativeName(const fs::path& path) {
#ifdef _WIN32
    const std::u8string name = path.filename().u8string();
    return std::string(name.begin(), name.end());
#else
    // The part after the last separator, without building a path for it.
    const std::string& text = path.native();
    return text.substr(text.find_last_of('/') + 1);
#endif
}

// Sorts by name ignoring case, working out each name's key once.
template <typename T, typename NameOf> void sortByName(std::vector<T>& items, NameOf nameOf) {
    std::vector<std::string> names;
    std::vector<std::string> keys;
    names.reserve(items.size());
    keys.reserve(items.size());
    for (const T& item : items) {
        names.push_back(nameOf(item));
        keys.push_back(caseInsensitiveKey(names.back()));
    }
    std::vector<std::size_t> order(items.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const int byKey = keys[a].compare(keys[b]);
        return byKey != 0 ? byKey < 0 : names[a] < names[b];
    });
    std::vector<T> sorted;
    sorted.reserve(items.size());
    for (std::size_t i : order)
        sorted.push_back(std::move(items[i]));
    items = std::move(sorted);
}

} // namespace

std::filesystem::path ListedFile::fileName() const {
#ifdef _WIN32
    return path.filename();
#else
    return name;
#endif
}

std::optional<FolderLister::Identity> FolderLister::identityOf(const fs::path& folder) const {
#ifdef _WIN32
    // The volume's serial number and the folder's file index, which
    // junctions and directory links share with their target. Opening a
    // folder needs backup semantics; no access right is asked for.
    HANDLE handle =
        CreateFileW(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = GetFileInformationByHandle(handle, &info) != 0;
    CloseHandle(handle);
    if (!known)
        return std::nullopt;
    return Identity{info.dwVolumeSerialNumber,
                    std::uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow};
#else
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0)
        return std::nullopt;
    return Identity{static_cast<std::uint64_t>(info.st_dev),
                    static_cast<std::uint64_t>(info.st_ino)};
#endif
}

bool FolderLister::firstVisit(const fs::path& folder) {
    if (const auto identity = identityOf(folder))
        return m_listed.insert(*identity).second;
    std::error_code error;
    const fs::path canonical = fs::weakly_canonical(folder, error);
    return m_listedPaths.insert(error ? folder : canonical).second;
}

void FolderLister::passOver(const fs::path& folder) {
    firstVisit(folder);
}

Result<FolderListing> FolderLister::list(const fs::path& folder) {
    std::error_code error;
    if (!fs::is_directory(folder, error))
        return error ? systemFailure(error) : Failure{Failure::Kind::NotAFolder, {}};
    FolderListing listing;
    if (!firstVisit(folder))
        return listing; // reached again through a link: its entries were listed already

    fs::directory_iterator it(folder, error);
    if (error)
        return systemFailure(error);
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error)
            break;
        const fs::directory_entry& entry = *it;
        // Both follow links, and take the type the listing gave where it
        // gave one: a folder whose path is too long to look up is still a
        // folder, and is reported when it can't be listed.
        std::error_code statusError;
        if (entry.is_directory(statusError)) {
            listing.subfolders.push_back(entry.path());
            continue;
        }
        const bool regular = !statusError && entry.is_regular_file(statusError) && !statusError;
        listing.files.push_back(ListedFile{nativeName(entry.path()), entry.path(), regular});
    }
    if (error)
        return systemFailure(error);

    // Subfolders already listed through another link are left out here, so
    // that a walk does not descend into them again.
    std::erase_if(listing.subfolders, [&](const fs::path& sub) {
        const auto identity = identityOf(sub);
        return identity && m_listed.contains(*identity);
    });
    sortByName(listing.files,
               [](const ListedFile& file) -> const std::string& { return file.name; });
    sortByName(listing.subfolders, [](const fs::path& path) { return nativeName(path); });
    if (!listing.files.empty())
        listing.folder = OpenFolder::open(folder);
    return listing;
}

} // namespace orvu

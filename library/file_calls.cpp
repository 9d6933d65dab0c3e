// Opening and closing files, and what a file says of all its icons.

#include "library/handles.h"
#include "platform/icon_files.h"
#include "platform/icon_reference.h"
#include "png/default_decoder.h"

#include <memory>

using namespace orvu;
using namespace orvu::c_api;

namespace {

// A path as the caller gave it: bytes, or on Windows UTF-8.
std::filesystem::path pathOf(const char* text) {
#ifdef _WIN32
    return std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(text)));
#else
    return std::filesystem::path(text);
#endif
}

orvu_icons_status handOver(Result<IconLibrary> opened, orvu_icons_file** file,
                           std::optional<std::string> sourcePath = std::nullopt,
                           std::optional<std::uint32_t> referencedIcon = std::nullopt) {
    if (!opened)
        return fail(opened.failure());
    if (const auto& problem = opened->problem())
        return fail(*problem);
    auto handle = std::make_unique<orvu_icons_file>(std::move(*opened));
    handle->sourcePath = std::move(sourcePath);
    handle->referencedIcon = referencedIcon;
    *file = handle.release();
    return ORVU_ICONS_OK;
}

} // namespace

extern "C" {

const char* orvu_icons_version(void) {
    return ORVU_VERSION;
}

orvu_icons_status orvu_icons_open(const char* path, orvu_icons_file** file) {
    return guarded([&] {
        if (!path || !file)
            return invalidArgument("orvu_icons_open: a null path or file");
        return handOver(openIconLibrary(pathOf(path), defaultPngDecoder()), file, path);
    });
}

orvu_icons_status orvu_icons_open_reference(const char* reference, const char* windows_root,
                                            orvu_icons_file** file) {
    return guarded([&] {
        if (!reference || !file)
            return invalidArgument("orvu_icons_open_reference: a null reference or file");
        std::optional<std::filesystem::path> root;
        if (windows_root) {
            root = pathOf(windows_root);
            std::error_code error;
            if (!std::filesystem::is_directory(*root, error))
                return fail(Failure{Failure::Kind::NotAFolder,
                                    std::string("the Windows root ") + windows_root});
        }
        auto referenced = openIconReference(reference, WindowsPaths(root), defaultPngDecoder());
        if (!referenced)
            return fail(referenced.failure());
        return handOver(std::move(referenced->library), file, textOfPath(referenced->source),
                        referenced->icon);
    });
}

orvu_icons_status orvu_icons_referenced_icon(orvu_icons_file* file, uint32_t* icon) {
    return guarded([&] {
        if (!file || !icon)
            return invalidArgument("orvu_icons_referenced_icon: a null file or icon");
        if (!file->referencedIcon)
            return fail(ORVU_ICONS_NO_SUCH_ICON, "the file was opened as a whole, not one icon");
        *icon = *file->referencedIcon;
        return ORVU_ICONS_OK;
    });
}

orvu_icons_status orvu_icons_source_path(orvu_icons_file* file, const char** path) {
    return guarded([&] {
        if (!file || !path)
            return invalidArgument("orvu_icons_source_path: a null file or path");
        *path = file->sourcePath ? file->sourcePath->c_str() : nullptr;
        return ORVU_ICONS_OK;
    });
}

orvu_icons_status orvu_icons_open_memory(const void* data, size_t size, orvu_icons_file** file) {
    return guarded([&] {
        if ((!data && size != 0) || !file)
            return invalidArgument("orvu_icons_open_memory: null data or file");
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        return handOver(IconLibrary::fromBytes({bytes, bytes + size}, defaultPngDecoder()), file);
    });
}

void orvu_icons_close(orvu_icons_file* file) {
    delete file;
}

orvu_icons_status orvu_icons_count(orvu_icons_file* file, uint32_t* count) {
    return guarded([&] {
        if (!file || !count)
            return invalidArgument("orvu_icons_count: a null file or count");
        const auto held = file->call();
        *count = file->library.count();
        return ORVU_ICONS_OK;
    });
}

orvu_icons_status orvu_icons_count_kind(orvu_icons_file* file, orvu_icons_kind kind,
                                        uint32_t* count) {
    return guarded([&] {
        if (!file || !count)
            return invalidArgument("orvu_icons_count_kind: a null file or count");
        const auto groups = groupKind(kind);
        if (!groups)
            return invalidArgument("orvu_icons_count_kind: no such kind");
        const auto held = file->call();
        *count = file->library.count(*groups);
        return ORVU_ICONS_OK;
    });
}

orvu_icons_status orvu_icons_resource_entry(orvu_icons_file* file, uint32_t icon, uint32_t* name,
                                            uint32_t* offset_to_data) {
    return guarded([&] {
        if (!file || !name || !offset_to_data)
            return invalidArgument("orvu_icons_resource_entry: a null argument");
        const auto held = file->call();
        const auto entry = file->library.resourceEntry(icon);
        if (!entry)
            return fail(entry.failure());
        *name = entry->name;
        *offset_to_data = entry->offsetToData;
        return ORVU_ICONS_OK;
    });
}

} // extern "C"

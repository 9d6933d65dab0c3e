// Opening and closing files, and what a file says of all its icons.

#include "library/handles.h"
#include "platform/icon_files.h"
#include "png/default_decoder.h"

#include <memory>

using namespace orvu;
using namespace orvu::c_api;

namespace {

orvu_icons_status handOver(Result<IconLibrary> opened, orvu_icons_file** file) {
    if (!opened)
        return fail(opened.failure());
    if (const auto& problem = opened->problem())
        return fail(*problem);
    *file = new orvu_icons_file(std::move(*opened));
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
#ifdef _WIN32
        const auto name =
            std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(path)));
#else
        const std::filesystem::path name(path);
#endif
        return handOver(openIconLibrary(name, defaultPngDecoder()), file);
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

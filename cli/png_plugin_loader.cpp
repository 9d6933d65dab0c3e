#include "png_plugin_loader.h"

#include <cstdio>
#include <dlfcn.h>
#include <filesystem>
#include <system_error>

namespace orvu {

void PngPluginLoader::load() const {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::filesystem::path module =
        (error ? std::filesystem::path(".") : program.parent_path()) / ORVU_PNG_PLUGIN;
    void* handle = ::dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        std::fprintf(stderr, "orvu-icons-cli: PNG icons can't be decoded: %s\n", ::dlerror());
        return;
    }
    using Entry = const PngDecoder* (*)();
    if (auto* entry = reinterpret_cast<Entry>(::dlsym(handle, "orvu_png_decoder")))
        m_decoder = entry();
}

PngPluginLoader::~PngPluginLoader() {
    if (m_preload.joinable())
        m_preload.join();
}

void PngPluginLoader::preload() {
    if (!m_preload.joinable())
        m_preload = std::thread([this] { std::call_once(m_loaded, [this] { load(); }); });
}

std::optional<IconBitmap> PngPluginLoader::decode(ByteView png) const {
    std::call_once(m_loaded, [this] { load(); });
    if (!m_decoder)
        return std::nullopt;
    return m_decoder->decode(png);
}

} // namespace orvu

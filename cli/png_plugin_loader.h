#pragma once

#include "png_decoder.h"

#include <mutex>
#include <thread>

namespace orvu {

// PNG decoding from the module beside the program (liborvu-png-qt.so),
// loaded the first time a PNG image is met; PNG images are refused when it
// can't be loaded. Safe to use from several threads.
class PngPluginLoader final : public PngDecoder {
public:
    ~PngPluginLoader() override;
    std::optional<IconBitmap> decode(ByteView png) const override;
    // Starts loading the module on another thread, for a harvest that may
    // well meet a PNG image: loading then overlaps with reading.
    void preload();

private:
    void load() const;

    mutable std::once_flag m_loaded;
    mutable const PngDecoder* m_decoder = nullptr;
    std::thread m_preload;
};

} // namespace orvu

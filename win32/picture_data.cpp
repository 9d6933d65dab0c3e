#include "win32/picture_data.h"

#include <cstring>

namespace orvu::win32::pictureData {

std::vector<std::uint8_t> dibV5(const IconBitmap& picture) {
    if (!picture.whole())
        return {};
    BITMAPV5HEADER header{};
    header.bV5Size = sizeof header;
    header.bV5Width = picture.width;
    header.bV5Height = picture.height; // rows from the bottom, as most readers expect
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    header.bV5CSType = 0x73524742; // LCS_sRGB, 'sRGB'
    header.bV5Intent = LCS_GM_IMAGES;
    const std::size_t row = static_cast<std::size_t>(picture.width) * 4;
    header.bV5SizeImage = static_cast<DWORD>(row * static_cast<std::size_t>(picture.height));
    std::vector<std::uint8_t> bytes(sizeof header + header.bV5SizeImage);
    std::memcpy(bytes.data(), &header, sizeof header);
    for (int y = 0; y < picture.height; ++y) {
        const std::uint32_t* from =
            &picture.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width)];
        std::uint8_t* to =
            bytes.data() + sizeof header + static_cast<std::size_t>(picture.height - 1 - y) * row;
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t pixel = picture.hasAlpha ? from[x] : from[x] | 0xFF000000u;
            std::memcpy(to + static_cast<std::size_t>(x) * 4, &pixel, 4); // B, G, R, A
        }
    }
    return bytes;
}

UINT pngFormat() {
    static const UINT format = RegisterClipboardFormatW(L"PNG");
    return format;
}

HGLOBAL global(const std::vector<std::uint8_t>& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.empty() ? 1 : bytes.size());
    if (!block)
        return nullptr;
    if (void* to = GlobalLock(block)) {
        if (!bytes.empty())
            std::memcpy(to, bytes.data(), bytes.size());
        GlobalUnlock(block);
        return block;
    }
    GlobalFree(block);
    return nullptr;
}

bool copy(HWND owner, const IconBitmap& picture, const std::vector<std::uint8_t>& png) {
    if (!OpenClipboard(owner))
        return false;
    EmptyClipboard();
    for (const auto& [format, bytes] :
         {std::pair{UINT{CF_DIBV5}, dibV5(picture)}, std::pair{pngFormat(), png}}) {
        if (bytes.empty())
            continue;
        if (HGLOBAL block = global(bytes); block && !SetClipboardData(format, block))
            GlobalFree(block);
    }
    CloseClipboard();
    return true;
}

} // namespace orvu::win32::pictureData

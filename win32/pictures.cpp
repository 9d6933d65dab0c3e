#include "win32/pictures.h"

#include "win32/com_ptr.h"

#include <algorithm>
#include <cstring>
#include <wincodec.h>

namespace orvu::win32 {
namespace {

BITMAPINFO topDown32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

std::uint32_t blend(std::uint32_t over, std::uint32_t under) {
    const std::uint32_t alpha = over >> 24;
    std::uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t a = (over >> shift) & 0xFF;
        const std::uint32_t b = (under >> shift) & 0xFF;
        out |= ((a * alpha + b * (255 - alpha) + 127) / 255) << shift;
    }
    return out;
}

} // namespace

Bitmap dibOf(const Surface& surface) {
    const BITMAPINFO info = topDown32(surface.width, surface.height);
    void* bits = nullptr;
    Bitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits)
        return {};
    auto* out = static_cast<std::uint32_t*>(bits);
    for (std::size_t i = 0; i < surface.pixels.size(); ++i)
        out[i] = surface.pixels[i] | 0xFF000000u;
    return bitmap;
}

void drawSurface(HDC dc, const RECT& to, const Surface& surface) {
    if (surface.width <= 0 || surface.height <= 0)
        return;
    const BITMAPINFO info = topDown32(surface.width, surface.height);
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, 0, 0, surface.width,
                  surface.height, surface.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

Surface enlarged(const Surface& surface, int size) {
    Surface out;
    out.width = out.height = size;
    out.pixels.resize(static_cast<std::size_t>(size) * static_cast<std::size_t>(size));
    if (surface.width <= 0 || surface.height <= 0)
        return out;
    for (int y = 0; y < size; ++y) {
        const int from = std::min(surface.height - 1, y * surface.height / size);
        for (int x = 0; x < size; ++x)
            out.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(size) +
                       static_cast<std::size_t>(x)] =
                surface.pixel(std::min(surface.width - 1, x * surface.width / size), from);
    }
    return out;
}

Surface composed(const IconBitmap& image, std::uint32_t background) {
    Surface out = Surface::filled(image.width, image.height, background);
    for (std::size_t i = 0; i < out.pixels.size() && i < image.pixels.size(); ++i)
        out.pixels[i] = blend(image.pixels[i], background);
    return out;
}

Bitmap resourceBitmap(const wchar_t* name) {
    return Bitmap(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

std::optional<IconBitmap> resourcePicture(const wchar_t* name) {
    HMODULE program = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(program, name, MAKEINTRESOURCEW(10)); // RT_RCDATA
    HGLOBAL loaded = found ? LoadResource(program, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return std::nullopt;
    // The window's thread runs COM already (OleInitialize).
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    UINT width = 0;
    UINT height = 0;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, factory.outVoid())) ||
        FAILED(factory->CreateStream(stream.out())) ||
        FAILED(stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(bytes)),
                                            SizeofResource(program, found))) ||
        FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr,
                                                WICDecodeMetadataCacheOnDemand, decoder.out())) ||
        FAILED(decoder->GetFrame(0, frame.out())) || FAILED(frame->GetSize(&width, &height)) ||
        FAILED(factory->CreateFormatConverter(converter.out())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA,
                                     WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return std::nullopt;
    IconBitmap picture;
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    picture.hasAlpha = true;
    picture.pixels.resize(static_cast<std::size_t>(width) * height);
    if (FAILED(converter->CopyPixels(nullptr, width * 4, width * 4 * height,
                                     reinterpret_cast<BYTE*>(picture.pixels.data()))))
        return std::nullopt;
    return picture;
}

void drawBitmap(HDC dc, const RECT& to, HBITMAP bitmap, const RECT& from) {
    MemoryDc source(dc);
    const Selected selected(source.get(), bitmap);
    const int width = to.right - to.left;
    const int height = to.bottom - to.top;
    if (width == from.right - from.left && height == from.bottom - from.top) {
        BitBlt(dc, to.left, to.top, width, height, source.get(), from.left, from.top, SRCCOPY);
        return;
    }
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, to.left, to.top, width, height, source.get(), from.left, from.top,
               from.right - from.left, from.bottom - from.top, SRCCOPY);
}

} // namespace orvu::win32

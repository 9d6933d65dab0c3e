#include "png/png_encoder.h"
#include "png/png_text.h"
#include "png/wic.h"

namespace orvu {

using wic::ComPtr;
using wic::ComScope;

namespace {

Failure wicFailed(const char* step) {
    return {Failure::Kind::System, std::string("the Windows Imaging Component could not ") + step};
}

} // namespace

Result<std::vector<std::uint8_t>> encodePng(const IconBitmap& image,
                                            const std::vector<PngText>& texts) {
    if (!image.whole())
        return damaged("an image without pixels");
    if (const auto refused = checkTexts(texts); !refused)
        return refused.failure();
    const ComScope com;
    if (!com.usable())
        return wicFailed("start");

    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, factory.outVoid())))
        return wicFailed("start");
    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.out())))
        return wicFailed("make a stream");
    ComPtr<IWICBitmapEncoder> encoder;
    if (FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.out())) ||
        FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)))
        return wicFailed("make a PNG encoder");
    ComPtr<IWICBitmapFrameEncode> frame;
    if (FAILED(encoder->CreateNewFrame(frame.out(), nullptr)) || FAILED(frame->Initialize(nullptr)))
        return wicFailed("make a frame");
    // Straight BGRA: little-endian 0xAARRGGBB, as IconBitmap holds it.
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    const auto width = static_cast<UINT>(image.width);
    const auto height = static_cast<UINT>(image.height);
    if (FAILED(frame->SetSize(width, height)) || FAILED(frame->SetPixelFormat(&format)) ||
        format != GUID_WICPixelFormat32bppBGRA)
        return wicFailed("take 32-bit pixels");
    const UINT stride = width * 4;
    if (FAILED(frame->WritePixels(
            height, stride, stride * height,
            const_cast<BYTE*>(reinterpret_cast<const BYTE*>(image.pixels.data())))) ||
        FAILED(frame->Commit()) || FAILED(encoder->Commit()))
        return wicFailed("write the image");

    HGLOBAL memory = nullptr;
    STATSTG stat{};
    if (FAILED(GetHGlobalFromStream(stream.get(), &memory)) ||
        FAILED(stream->Stat(&stat, STATFLAG_NONAME)))
        return wicFailed("hand out the file");
    const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(memory));
    if (!bytes)
        return wicFailed("hand out the file");
    std::vector<std::uint8_t> out(bytes, bytes + stat.cbSize.QuadPart);
    GlobalUnlock(memory);
    // WIC's own way to text chunks, the frame's metadata query writer, is
    // not implemented in Wine, where this build is tested: the chunks are
    // put in after the header instead.
    return withTextChunks(std::move(out), texts);
}

} // namespace orvu

#include "png/wic_png_decoder.h"

#include "icons/limits.h"
#include "png/wic.h"

namespace orvu {

using wic::ComPtr;
using wic::ComScope;
namespace {

Failure undecodable() {
    return damaged("the PNG image can't be decoded");
}

} // namespace

Result<IconBitmap> WicPngDecoder::decode(ByteView png) const {
    if (png.size() > limits::MaxImageBytes)
        return undecodable();
    const ComScope com;
    if (!com.usable())
        return undecodable();

    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, factory.outVoid())))
        return undecodable();
    ComPtr<IWICStream> stream;
    if (FAILED(factory->CreateStream(stream.out())) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(png.bytes().data()),
                                            static_cast<DWORD>(png.size()))))
        return undecodable();
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoder(GUID_ContainerFormatPng, nullptr, decoder.out())) ||
        FAILED(decoder->Initialize(stream.get(), WICDecodeMetadataCacheOnDemand)))
        return undecodable();
    ComPtr<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(0, frame.out())))
        return undecodable();
    UINT width = 0;
    UINT height = 0;
    if (FAILED(frame->GetSize(&width, &height)) || width == 0 || height == 0 ||
        width > static_cast<UINT>(limits::MaxImageSide) ||
        height > static_cast<UINT>(limits::MaxImageSide))
        return undecodable();

    // Straight (not premultiplied) BGRA: little-endian 0xAARRGGBB, as IconBitmap holds it.
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.out())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA,
                                     WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return undecodable();

    IconBitmap bitmap;
    bitmap.width = static_cast<int>(width);
    bitmap.height = static_cast<int>(height);
    bitmap.pixels.resize(static_cast<std::size_t>(width) * height);
    const UINT stride = width * 4;
    if (FAILED(converter->CopyPixels(nullptr, stride, stride * height,
                                     reinterpret_cast<BYTE*>(bitmap.pixels.data()))))
        return undecodable();
    return bitmap;
}

} // namespace orvu

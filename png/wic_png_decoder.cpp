#include "png/wic_png_decoder.h"

#include "icons/limits.h"
#include "png/wic.h"

namespace orvu {

using wic::ComPtr;
using wic::ComScope;
Result<IconBitmap> WicPngDecoder::decode(ByteView png) const {
    if (png.size() > limits::MaxImageBytes)
        return undecodablePng();
    const ComScope com;
    if (!com.usable())
        return undecodablePng();

    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, factory.outVoid())))
        return undecodablePng();
    ComPtr<IWICStream> stream;
    if (FAILED(factory->CreateStream(stream.out())) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(png.bytes().data()),
                                            static_cast<DWORD>(png.size()))))
        return undecodablePng();
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoder(GUID_ContainerFormatPng, nullptr, decoder.out())) ||
        FAILED(decoder->Initialize(stream.get(), WICDecodeMetadataCacheOnDemand)))
        return undecodablePng();
    ComPtr<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(0, frame.out())))
        return undecodablePng();
    UINT width = 0;
    UINT height = 0;
    if (FAILED(frame->GetSize(&width, &height)) || width == 0 || height == 0 ||
        width > static_cast<UINT>(limits::MaxImageSide) ||
        height > static_cast<UINT>(limits::MaxImageSide))
        return undecodablePng();

    // Straight (not premultiplied) BGRA: little-endian 0xAARRGGBB, as IconBitmap holds it.
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.out())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA,
                                     WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return undecodablePng();

    IconBitmap bitmap;
    bitmap.width = static_cast<int>(width);
    bitmap.height = static_cast<int>(height);
    bitmap.pixels.resize(static_cast<std::size_t>(width) * height);
    const UINT stride = width * 4;
    if (FAILED(converter->CopyPixels(nullptr, stride, stride * height,
                                     reinterpret_cast<BYTE*>(bitmap.pixels.data()))))
        return undecodablePng();
    return bitmap;
}

} // namespace orvu

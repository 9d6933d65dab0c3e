#include "png/wic_png_decoder.h"

#include "icons/limits.h"
#include "platform/windows_api.h"

#include <objbase.h>
#include <wincodec.h>

namespace orvu {
namespace {

// Owns one COM interface pointer.
template <typename T> class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() {
        if (m_pointer)
            m_pointer->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* operator->() const { return m_pointer; }
    T* get() const { return m_pointer; }
    T** out() { return &m_pointer; }
    void** outVoid() { return reinterpret_cast<void**>(&m_pointer); }

private:
    T* m_pointer = nullptr;
};

// COM for the calling thread while the object lives. A thread that already
// runs COM in another apartment keeps it; the decoder works in either.
class ComScope {
public:
    ComScope() : m_result(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(m_result))
            CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

    bool usable() const { return SUCCEEDED(m_result) || m_result == RPC_E_CHANGED_MODE; }

private:
    HRESULT m_result;
};

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

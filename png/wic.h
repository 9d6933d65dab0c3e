#pragma once

// What the WIC decoder and encoder share: COM pointers and COM for the
// calling thread. Windows only.

#include "platform/windows_api.h"

#include <objbase.h>
#include <wincodec.h>

namespace orvu::wic {

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

} // namespace orvu::wic

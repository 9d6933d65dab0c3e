#pragma once

#include "platform/windows_api.h"

#include <objbase.h>
#include <utility>

namespace orvu::win32 {

// Owns one reference to a COM object.
template <typename T> class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(ComPtr&& other) noexcept : m_pointer(std::exchange(other.m_pointer, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            m_pointer = std::exchange(other.m_pointer, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* operator->() const { return m_pointer; }
    T* get() const { return m_pointer; }
    explicit operator bool() const { return m_pointer != nullptr; }
    T** out() {
        reset();
        return &m_pointer;
    }
    void** outVoid() { return reinterpret_cast<void**>(out()); }
    void reset() {
        if (m_pointer)
            std::exchange(m_pointer, nullptr)->Release();
    }

    // An object of class `kind`, made in this process; empty where it can't be.
    static ComPtr make(REFCLSID kind, REFIID asked) {
        ComPtr made;
        CoCreateInstance(kind, nullptr, CLSCTX_INPROC_SERVER, asked, made.outVoid());
        return made;
    }

private:
    T* m_pointer = nullptr;
};

} // namespace orvu::win32

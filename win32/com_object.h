#pragma once

#include "platform/windows_api.h"

#include <objbase.h>

namespace orvu::win32 {

// An object that Windows calls through one COM interface: it answers for
// that interface and IUnknown, and deletes itself at its last Release. COM
// never deletes through the interface, so the interface's destructor need
// not be virtual.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif
template <typename Interface, const IID& InterfaceId> class ComObject : public Interface {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, InterfaceId)) {
            *object = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        return static_cast<ULONG>(InterlockedIncrement(&m_references));
    }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&m_references);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

protected:
    virtual ~ComObject() = default;

private:
    LONG m_references = 1;
};
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

} // namespace orvu::win32

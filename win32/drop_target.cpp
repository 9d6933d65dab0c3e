#include "win32/drop_target.h"

#include "win32/com_object.h"
#include "win32/tile_drag.h"

#include <ole2.h>
#include <shellapi.h>
#include <string>

namespace orvu::win32 {
namespace {

// The message that hands the paths to the window after the drop.
constexpr UINT_PTR DeliverTimer = 0x4F44;

class Target final : public ComObject<IDropTarget, IID_IDropTarget> {
public:
    Target(HWND window, std::function<void(std::vector<std::filesystem::path>)> dropped)
        : m_window(window), m_dropped(std::move(dropped)) {}

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        FORMATETC files{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        m_accepts = !tileDrag::active() && data && data->QueryGetData(&files) == S_OK;
        *effect = m_accepts ? DROPEFFECT_COPY : DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
        *effect = m_accepts ? DROPEFFECT_COPY : DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        m_accepts = false;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        *effect = DROPEFFECT_NONE;
        if (!m_accepts || !data)
            return S_OK;
        m_accepts = false;
        FORMATETC files{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM medium{};
        if (data->GetData(&files, &medium) != S_OK)
            return S_OK;
        m_paths = DropTarget::pathsOf(static_cast<HDROP>(medium.hGlobal));
        ReleaseStgMedium(&medium);
        *effect = DROPEFFECT_COPY;
        SetTimer(m_window, DeliverTimer, 0, deliver);
        s_pending = this;
        AddRef();
        return S_OK;
    }

private:
    static void CALLBACK deliver(HWND window, UINT, UINT_PTR id, DWORD) {
        KillTimer(window, id);
        Target* target = s_pending;
        s_pending = nullptr;
        if (!target)
            return;
        std::vector<std::filesystem::path> paths = std::move(target->m_paths);
        if (target->m_dropped)
            target->m_dropped(std::move(paths));
        target->Release();
    }

    static inline Target* s_pending = nullptr;
    HWND m_window;
    std::function<void(std::vector<std::filesystem::path>)> m_dropped;
    std::vector<std::filesystem::path> m_paths;
    bool m_accepts = false;
};

} // namespace

DropTarget::DropTarget(HWND window, std::function<void(std::vector<std::filesystem::path>)> dropped)
    : m_window(window), m_target(new Target(window, std::move(dropped))) {
    if (FAILED(RegisterDragDrop(m_window, m_target))) {
        m_target->Release();
        m_target = nullptr;
    }
}

DropTarget::~DropTarget() {
    if (m_target) {
        RevokeDragDrop(m_window);
        m_target->Release();
    }
}

std::vector<std::filesystem::path> DropTarget::pathsOf(HDROP drop) {
    std::vector<std::filesystem::path> paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(length + 1, L'\0');
        DragQueryFileW(drop, i, path.data(), length + 1);
        path.resize(length);
        paths.emplace_back(path);
    }
    return paths;
}

} // namespace orvu::win32

#include "win32/tile_drag.h"

#include "harvest/tile_actions.h"
#include "win32/com_object.h"
#include "win32/picture_data.h"

#include <cstring>
#include <ole2.h>
#include <optional>
#include <shlobj.h>
#include <string>
#include <system_error>

namespace orvu::win32::tileDrag {
namespace {

bool g_active = false;
int g_drags = 0;

// The folder of this run's drags: in the user's temporary folder, which is
// the user's alone; made at the first drag.
const std::filesystem::path& dragRoot() {
    static const std::filesystem::path root = [] {
        std::error_code error;
        return std::filesystem::temp_directory_path(error) /
               (L"orvu-icons-drag-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(GetTickCount64()));
    }();
    return root;
}

FORMATETC formatOf(UINT format) {
    return {static_cast<CLIPFORMAT>(format), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

// The dragged tiles as data: files, and for one tile its picture.
class TileData final : public ComObject<IDataObject, IID_IDataObject> {
public:
    TileData(std::vector<Tile> tiles, const PngDecoder* png)
        : m_tiles(std::move(tiles)), m_png(png),
          m_folder(dragRoot() / (L"drag-" + std::to_wstring(++g_drags))) {
        m_formats.push_back(formatOf(CF_HDROP));
        if (m_tiles.size() == 1) {
            if (const auto bytes = tileFileBytes(m_tiles.front(), SaveFormat::Png, m_png)) {
                m_pngBytes = bytes->bytes;
                if (auto picture = m_png ? m_png->decode(ByteView(m_pngBytes))
                                         : Result<IconBitmap>(undecodablePng())) {
                    m_dib = pictureData::dibV5(*picture);
                    m_formats.push_back(formatOf(CF_DIBV5));
                }
                m_formats.push_back(formatOf(pictureData::pngFormat()));
            }
        }
    }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* wanted, STGMEDIUM* medium) override {
        if (!wanted || !medium)
            return E_INVALIDARG;
        if (QueryGetData(wanted) != S_OK)
            return DV_E_FORMATETC;
        const std::vector<std::uint8_t> bytes = bytesOf(wanted->cfFormat);
        if (bytes.empty())
            return E_UNEXPECTED;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = pictureData::global(bytes);
        medium->pUnkForRelease = nullptr;
        return medium->hGlobal ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* wanted) override {
        if (!wanted)
            return E_INVALIDARG;
        for (const FORMATETC& offered : m_formats) {
            if (offered.cfFormat == wanted->cfFormat && (wanted->tymed & TYMED_HGLOBAL) &&
                wanted->dwAspect == DVASPECT_CONTENT)
                return S_OK;
        }
        return DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        if (out)
            out->ptd = nullptr;
        return E_NOTIMPL;
    }
    // What a target tells the source (the effect it performed) is not kept.
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
        if (direction != DATADIR_GET)
            return E_NOTIMPL;
        return SHCreateStdEnumFmtEtc(static_cast<UINT>(m_formats.size()), m_formats.data(), out);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }

private:
    std::vector<std::uint8_t> bytesOf(CLIPFORMAT format) {
        if (format == CF_DIBV5)
            return m_dib;
        if (format == pictureData::pngFormat())
            return m_pngBytes;
        return dropFiles();
    }

    // DROPFILES and the files' names, each ending in a NUL, and a NUL more.
    std::vector<std::uint8_t> dropFiles() {
        if (!m_files) {
            std::error_code error;
            std::filesystem::create_directories(m_folder, error);
            m_files = error ? std::vector<std::filesystem::path>()
                            : writeIconFiles(m_tiles, m_folder, m_png);
        }
        if (m_files->empty())
            return {};
        std::wstring names;
        for (const std::filesystem::path& file : *m_files)
            names += file.wstring() + L'\0';
        names += L'\0';
        DROPFILES header{};
        header.pFiles = sizeof header;
        header.fWide = TRUE;
        std::vector<std::uint8_t> bytes(sizeof header + names.size() * sizeof(wchar_t));
        std::memcpy(bytes.data(), &header, sizeof header);
        std::memcpy(bytes.data() + sizeof header, names.data(), names.size() * sizeof(wchar_t));
        return bytes;
    }

    std::vector<Tile> m_tiles;
    const PngDecoder* m_png;
    std::filesystem::path m_folder;
    std::vector<FORMATETC> m_formats;
    std::optional<std::vector<std::filesystem::path>> m_files; // written when first asked for
    std::vector<std::uint8_t> m_pngBytes;
    std::vector<std::uint8_t> m_dib;
};

// The drag follows the left button: released, the tiles drop; Esc gives up.
class TileSource final : public ComObject<IDropSource, IID_IDropSource> {
public:
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
        if (escape)
            return DRAGDROP_S_CANCEL;
        return (keys & MK_LBUTTON) ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

} // namespace

bool run(std::vector<Tile> tiles, const PngDecoder* png) {
    if (tiles.empty() || g_active)
        return false;
    auto* data = new TileData(std::move(tiles), png);
    auto* source = new TileSource;
    g_active = true;
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT result = DoDragDrop(data, source, DROPEFFECT_COPY, &effect);
    g_active = false;
    data->Release();
    source->Release();
    return result == DRAGDROP_S_DROP && effect != DROPEFFECT_NONE;
}

bool active() {
    return g_active;
}

void removeDragFolders() {
    if (g_drags == 0)
        return;
    std::error_code error;
    std::filesystem::remove_all(dragRoot(), error);
}

} // namespace orvu::win32::tileDrag

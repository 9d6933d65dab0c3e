#include "win32/main_window.h"

#include "harvest/main_window_layout.h"
#include "harvest/messages.h"
#include "texts/text.h"
#include "win32/about_window.h"
#include "win32/details_window.h"
#include "win32/drop_target.h"
#include "win32/message_loop.h"
#include "win32/picture_box.h"
#include "win32/picture_data.h"
#include "win32/pictures.h"
#include "win32/shell_asker.h"
#include "win32/single_instance.h"
#include "win32/skin.h"
#include "win32/skinned_button.h"
#include "win32/tile_drag.h"
#include "win32/tile_list.h"
#include "win32/tray_icon.h"
#include "win32/wide_text.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <commctrl.h>
#include <shellscalingapi.h>
#include <windowsx.h>

namespace orvu::win32 {
namespace {

namespace layout = mainWindowLayout;

constexpr wchar_t BackgroundName[] = L"ORVU_BACKGROUND";
// Work the window posts itself, to do once the message at hand is answered.
constexpr UINT ShowMenu = WM_APP + 2;
constexpr UINT OpenHandedOver = WM_APP + 3;
// The least time between two paints of the preview inside a harvest.
constexpr std::chrono::milliseconds PreviewFrame(16);
// The least time between two turns of the message loop inside a harvest.
constexpr std::chrono::milliseconds PumpInterval(8);
// The least time between two paints of the status line.
constexpr std::chrono::milliseconds StatusFrame(20);
constexpr UINT_PTR StatusTimer = 1;
constexpr wchar_t IconName[] = L"IDI_ICON1";

HICON programIcon(int size) {
    return static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), IconName, IMAGE_ICON, size, size, LR_SHARED));
}

SIZE bitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}

// The dots an inch of the monitor at a point on the screen, before the
// window that will show there exists.
int dpiAt(POINT point) {
    HMONITOR monitor = MonitorFromPoint(point, MONITOR_DEFAULTTOPRIMARY);
    UINT x = 0;
    UINT y = 0;
    if (FAILED(GetDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &x, &y)) || x == 0)
        return static_cast<int>(GetDpiForSystem());
    return static_cast<int>(x);
}

void place(HWND control, const RECT& r) {
    MoveWindow(control, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

} // namespace

MainWindow::MainWindow(Asker& asker, const PngDecoder* png)
    : m_asker(asker), m_png(png), m_filePathColour(layout::OtherPathBoxColour),
      m_folderPathColour(layout::OtherPathBoxColour) {}

MainWindow::~MainWindow() {
    m_dropTarget.reset();
    m_list.reset();
    m_tray.reset();
    if (m_menu)
        DestroyMenu(m_menu);
    if (m_window) {
        messageLoop::removeDialogWindow(m_window);
        SetWindowLongPtrW(m_window, GWLP_USERDATA, 0);
        DestroyWindow(m_window);
    }
}

bool MainWindow::load(const std::function<bool()>& onLoad) {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hIcon = programIcon(GetSystemMetrics(SM_CXICON));
        windowClass.hIconSm = programIcon(GetSystemMetrics(SM_CXSMICON));
        windowClass.lpszClassName = SingleInstance::WindowClass;
        return RegisterClassExW(&windowClass) != 0;
    }();
    (void)registered;

    const POINT designPlace{layout::StartPosition.x, layout::StartPosition.y};
    m_scale = ScreenScale(dpiAt(designPlace));
    const POINT at = m_scale.point(layout::StartPosition);
    const SIZE size = m_scale.size(layout::ClientSize);
    m_window = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT, SingleInstance::WindowClass,
                               L"", WS_POPUP | WS_CLIPCHILDREN, at.x, at.y, size.cx, size.cy,
                               nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (!m_window)
        return false;
    SetWindowTextW(m_window, wide(design::productTitle()).c_str());
    m_background = resourceBitmap(BackgroundName);
    createControls();
    layOut(ScreenScale::of(m_window));
    messageLoop::addDialogWindow(m_window);
    m_dropTarget =
        std::make_unique<DropTarget>(m_window, [this](std::vector<std::filesystem::path> paths) {
            m_controller->openPaths(paths);
        });

    m_controller->load();
    if (onLoad && !onLoad())
        return false;
    m_tray = std::make_unique<TrayIcon>(m_window, m_smallIcon, wide(design::productTitle()));
    m_tray->add();
    return true;
}

void MainWindow::show() {
    ShowWindow(m_window, SW_SHOWNORMAL);
    UpdateWindow(m_window);
    SetFocus(m_list->window());
}

void MainWindow::createControls() {
    using skinnedButton::Kind;
    Controls& c = m_controls;
    c.help = skinnedButton::create(m_window, HelpButton, Kind::Help, L"");
    c.minimise = skinnedButton::create(m_window, MinimiseButton, Kind::Minimise, L"");
    c.close = skinnedButton::create(m_window, CloseButton, Kind::Close, L"");
    c.preview = pictureBox::create(m_window, PreviewBox);
    // TRANSLATORS: each option caption has room for 84 pixels: 14 Latin
    // letters or 7 ideographs.
    c.folderMode = skinnedButton::create(m_window, FolderModeOption, Kind::Option,
                                         wide(text("Choose folder:")));
    c.fileMode =
        skinnedButton::create(m_window, FileModeOption, Kind::Option, wide(text("Choose file:")));
    for (HWND option : {c.folderMode, c.fileMode})
        skinnedButton::setBackColour(option, designColour(layout::OptionBackColour));
    c.start = skinnedButton::create(m_window, StartButton, Kind::Push, wide(text("Start")));
    c.pickFolder = skinnedButton::create(m_window, PickFolderButton, Kind::Push,
                                         wide(text("pick folder button", "...")));
    const auto pathBox = [&](int id) {
        return CreateWindowExW(0, WC_EDITW, L"",
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL, 0,
                               0, 0, 0, m_window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleW(nullptr), nullptr);
    };
    c.folderPath = pathBox(FolderPathBox);
    c.pickFile = skinnedButton::create(m_window, PickFileButton, Kind::Push,
                                       wide(text("pick file button", ".....")));
    c.filePath = pathBox(FilePathBox);
    m_chosenBoxBrush.reset(CreateSolidBrush(designColour(layout::ChosenPathBoxColour)));
    m_otherBoxBrush.reset(CreateSolidBrush(designColour(layout::OtherPathBoxColour)));

    MainWindowView& view = *this;
    m_controller = std::make_unique<HarvestController>(view, m_asker, ownerOf(m_window), m_png);
    m_list = std::make_unique<TileList>(m_window, IconList, m_controller->tiles(), m_png);
    m_list->setColours(designColour(layout::ListTextColour), designColour(layout::ListBackColour));
    // The menu opens once the list has finished with the click that asked
    // for it (it holds the mouse until then).
    m_list->onMenu = [this](POINT at) { PostMessageW(m_window, ShowMenu, at.x, at.y); };
    m_list->onOpen = [this] { showSelectedDetails(); };
    m_list->onCopy = [this] { copySelected(); };
    m_list->onDragOut = [this](const std::vector<std::size_t>& rows) {
        std::vector<Tile> dragged;
        for (const std::size_t row : rows) {
            if (row < m_controller->tiles().size())
                dragged.push_back(m_controller->tiles().at(row));
        }
        tileDrag::run(std::move(dragged), m_png);
    };
    m_list->toolTipOf = [this](std::size_t row) { return m_controller->toolTip(row); };

    // The tab order of the design: the list first, then the source controls.
    HWND order[] = {m_list->window(), c.fileMode,   c.filePath,   c.pickFile,
                    c.folderMode,     c.folderPath, c.pickFolder, c.start};
    HWND after = HWND_TOP;
    for (HWND control : order) {
        SetWindowPos(control, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = control;
    }
}

void MainWindow::layOut(const ScreenScale& scale) {
    m_scale = scale;
    m_font = designFont(scale);
    const Controls& c = m_controls;
    const std::pair<HWND, design::Rect> placed[] = {
        {c.help, layout::HelpButton},
        {c.minimise, layout::MinimiseButton},
        {c.close, layout::CloseButton},
        {c.preview, layout::PreviewBox},
        {c.folderMode, layout::FolderModeOption},
        {c.fileMode, layout::FileModeOption},
        {c.start, layout::StartButton},
        {c.pickFolder, layout::PickFolderButton},
        {c.folderPath, layout::FolderPathBox},
        {c.pickFile, layout::PickFileButton},
        {c.filePath, layout::FilePathBox},
    };
    for (const auto& [control, rect] : placed) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.get()), FALSE);
        skinnedButton::setScale(control, scale);
        place(control, scale.rect(rect));
    }
    m_list->place(scale.rect(layout::IconList), scale, m_font.get());
    // The status line spans the rest of its row, one line of the font high.
    TEXTMETRICW metrics{};
    HDC dc = GetDC(m_window);
    {
        const Selected selected(dc, m_font.get());
        GetTextMetricsW(dc, &metrics);
    }
    ReleaseDC(m_window, dc);
    const POINT status = scale.point(layout::StatusLine);
    m_statusArea = {status.x, status.y, scale.px(layout::ClientSize.width),
                    status.y + metrics.tmHeight};
    refreshPreview();
    InvalidateRect(m_window, nullptr, TRUE);
}

RECT MainWindow::titleRect() const {
    HDC dc = GetDC(m_window);
    const Selected selected(dc, m_font.get());
    const std::wstring title = wide(design::productTitle());
    SIZE extent{};
    GetTextExtentPoint32W(dc, title.c_str(), static_cast<int>(title.size()), &extent);
    ReleaseDC(m_window, dc);
    const POINT at = m_scale.point(layout::TitleLabel);
    return {at.x, at.y, at.x + extent.cx, at.y + extent.cy};
}

RECT MainWindow::statusRect() const {
    return m_statusArea;
}

void MainWindow::setStatus(const std::wstring& text) {
    // A folder scan sets a new path for every file, far faster than anyone
    // can read: the line is painted at most every StatusFrame, its latest
    // text always.
    m_status = text;
    const auto now = std::chrono::steady_clock::now();
    if (now - m_statusPainted >= StatusFrame) {
        InvalidateRect(m_window, &m_statusArea, FALSE);
        m_statusPainted = now;
    } else if (!m_statusDue) {
        m_statusDue = true;
        SetTimer(m_window, StatusTimer,
                 static_cast<UINT>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                       StatusFrame - (now - m_statusPainted))
                                       .count()),
                 nullptr);
    }
}

void MainWindow::paintSurface(HDC dc) {
    const ScreenScale& s = m_scale;
    RECT client{0, 0, s.px(layout::ClientSize.width), s.px(layout::ClientSize.height)};
    const Brush back(CreateSolidBrush(designColour(layout::BackColour)));
    FillRect(dc, &client, back.get());
    if (m_background) {
        const SIZE size = bitmapSize(m_background.get());
        drawBitmap(dc, {0, 0, s.px(size.cx), s.px(size.cy)}, m_background.get(),
                   {0, 0, size.cx, size.cy});
    }
    // The source panel: filled, with a 1-pixel outline in the window-text colour.
    const RECT panel = s.rect(layout::SourcePanel);
    const Brush panelFill(CreateSolidBrush(designColour(layout::SourcePanelColour)));
    FillRect(dc, &panel, panelFill.get());
    // Its outline scales with the screen, as a line of the design does.
    const Brush outline(CreateSolidBrush(designColour(design::SystemColour::WindowText)));
    const int width = std::max(1, static_cast<int>(std::lround(s.factor())));
    for (int i = 0; i < width; ++i) {
        const RECT ring{panel.left + i, panel.top + i, panel.right - i, panel.bottom - i};
        FrameRect(dc, &ring, outline.get());
    }
    paintTitleBand(dc, s.rect(layout::TitleBand), s);
    for (const design::Line& line : layout::FrameLines)
        paintFrameLine(dc, line, s);

    // The labels, on the surface under every control.
    const Selected font(dc, m_font.get());
    SetBkMode(dc, TRANSPARENT);
    const auto label = [&](design::Point at, const std::wstring& text, std::uint32_t colour) {
        SetTextColor(dc, designColour(colour));
        const POINT p = s.point(at);
        TextOutW(dc, p.x, p.y, text.c_str(), static_cast<int>(text.size()));
    };
    label(layout::TitleLabel, wide(design::productTitle()), layout::TitleColour);
    // TRANSLATORS: room for 88 pixels before the preview box: 14 Latin letters
    // or 7 ideographs.
    label(layout::PreviewCaption, wide(text("Preview:")), layout::PreviewCaptionColour);
    RECT status = statusRect();
    SetTextColor(dc, designColour(layout::StatusColour));
    DrawTextW(dc, m_status.c_str(), static_cast<int>(m_status.size()), &status,
              DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

LRESULT CALLBACK MainWindow::procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
        self->m_window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->handle(message, w, l) : DefWindowProcW(window, message, w, l);
}

LRESULT MainWindow::handle(UINT message, WPARAM w, LPARAM l) {
    if (TrayIcon::isTaskBarCreated(message)) {
        if (m_tray && m_tray->added())
            m_tray->add();
        return 0;
    }
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(m_window, &ps);
        paintSurface(dc);
        EndPaint(m_window, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        paintSurface(reinterpret_cast<HDC>(w));
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT: {
        const auto box = reinterpret_cast<HWND>(l);
        const std::uint32_t colour =
            box == m_controls.filePath ? m_filePathColour : m_folderPathColour;
        HDC dc = reinterpret_cast<HDC>(w);
        SetBkColor(dc, designColour(colour));
        SetTextColor(dc, designColour(design::SystemColour::WindowText));
        return reinterpret_cast<LRESULT>(
            colour == layout::ChosenPathBoxColour ? m_chosenBoxBrush.get() : m_otherBoxBrush.get());
    }
    case WM_COMMAND:
        if (LOWORD(w) == IDCANCEL) {
            m_controller->stop();
            return 0;
        }
        command(LOWORD(w));
        return 0;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(l);
        if (m_list && header->hwndFrom == m_list->window()) {
            if (const auto result = m_list->notify(*header))
                return *result;
        }
        break;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        // A press of any button on the title moves the window.
        const RECT title = titleRect();
        const POINT at{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
        if (PtInRect(&title, at)) {
            ReleaseCapture();
            SendMessageW(m_window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
        }
        return 0;
    }
    case TrayIcon::CallbackMessage:
        if (TrayIcon::showsWindowFor(l))
            showFromTray();
        return 0;
    case WM_COPYDATA:
        if (const auto path = SingleInstance::handedOver(*reinterpret_cast<COPYDATASTRUCT*>(l))) {
            showFromTray();
            if (!path->empty()) {
                const std::filesystem::path handed = *path;
                // After the later start has had its answer: the harvest may run for long.
                PostMessageW(m_window, OpenHandedOver, 0, 0);
                m_pendingOpen = handed;
            }
            return TRUE;
        }
        return FALSE;
    case WM_ENTERIDLE:
        // A message or dialog shown inside a harvest: the tiles so far show.
        if (m_list)
            m_list->publishAppends();
        break;
    case ShowMenu:
        showMenu({static_cast<LONG>(w), static_cast<LONG>(l)});
        return 0;
    case OpenHandedOver:
        if (m_pendingOpen) {
            const std::filesystem::path path = *m_pendingOpen;
            m_pendingOpen.reset();
            m_controller->openPath(path);
        }
        return 0;
    case WM_TIMER:
        if (w == StatusTimer) {
            KillTimer(m_window, StatusTimer);
            m_statusDue = false;
            m_statusPainted = std::chrono::steady_clock::now();
            InvalidateRect(m_window, &m_statusArea, FALSE);
        }
        return 0;
    case WM_DPICHANGED: {
        const auto* suggested = reinterpret_cast<const RECT*>(l);
        SetWindowPos(m_window, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        layOut(ScreenScale(HIWORD(w)));
        return 0;
    }
    case WM_CLOSE:
        closeProgram();
        return 0;
    case WM_DESTROY:
        if (m_tray)
            m_tray->remove();
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(m_window, message, w, l);
}

void MainWindow::command(int id) {
    HarvestController& flows = *m_controller;
    switch (id) {
    case HelpButton:
        showAbout();
        break;
    case MinimiseButton:
        minimise();
        break;
    case CloseButton:
        closeProgram();
        break;
    case FileModeOption:
        flows.chooseFileMode();
        break;
    case FolderModeOption:
        flows.chooseFolderMode();
        break;
    case PickFileButton:
        flows.pickFile();
        break;
    case PickFolderButton:
        flows.pickFolder();
        break;
    case StartButton:
        flows.start();
        break;
    case SaveIconEntry:
        flows.saveTile(m_list->selectedRow());
        break;
    case DetailsEntry:
        showSelectedDetails();
        break;
    case SaveSelectedEntry:
        flows.saveTiles(m_list->selectedRows());
        break;
    case SaveAllEntry:
        flows.saveAllTiles();
        break;
    case CopyEntry:
        copySelected();
        break;
    case IncludeCursorsEntry:
        flows.setIncludesCursors(!flows.includesCursors());
        break;
    default:
        break;
    }
}

void MainWindow::setPathBox(HWND box, const std::wstring& text) {
    std::wstring shown(static_cast<std::size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
    shown.resize(static_cast<std::size_t>(
        GetWindowTextW(box, shown.data(), static_cast<int>(shown.size()))));
    if (shown == text)
        return;
    // The end of a long path shows: the file's or the folder's own name.
    SetWindowTextW(box, text.c_str());
    const auto end = static_cast<WPARAM>(text.size());
    SendMessageW(box, EM_SETSEL, end, static_cast<LPARAM>(end));
    SendMessageW(box, EM_SCROLLCARET, 0, 0);
}

void MainWindow::showSources(const SourceControls& sources) {
    const Controls& c = m_controls;
    const bool file = sources.mode == SourceMode::File;
    const bool folder = sources.mode == SourceMode::Folder;
    skinnedButton::setChecked(c.fileMode, file);
    skinnedButton::setChecked(c.folderMode, folder);
    const auto colour = [](bool chosen) {
        return chosen ? layout::ChosenPathBoxColour : layout::OtherPathBoxColour;
    };
    const std::pair<HWND, std::uint32_t&> boxes[] = {{c.filePath, m_filePathColour},
                                                     {c.folderPath, m_folderPathColour}};
    for (const auto& [box, shown] : boxes) {
        const std::uint32_t wanted = colour(box == c.filePath ? file : folder);
        if (shown != wanted) {
            shown = wanted;
            InvalidateRect(box, nullptr, TRUE);
        }
    }
    setPathBox(c.filePath, sources.file.wstring());
    setPathBox(c.folderPath, sources.folder.wstring());
    EnableWindow(c.pickFile, file);
    EnableWindow(c.pickFolder, folder);
    EnableWindow(c.start, sources.startEnabled);
}

void MainWindow::showStatus(const std::string& text) {
    setStatus(wide(text));
}

void MainWindow::showStatus(const std::filesystem::path& path) {
    setStatus(path.wstring());
}

std::uint32_t MainWindow::previewBackground() const {
    const COLORREF colour = designColour(layout::PreviewBackColour);
    return (static_cast<std::uint32_t>(GetRValue(colour)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
}

void MainWindow::showPreview(const Surface& preview) {
    m_preview = &preview;
    m_sharpPreview.reset();
    refreshPreview();
}

void MainWindow::showSharpPreview(const Surface& picture) {
    m_sharpPreview = picture;
    refreshPreview();
}

void MainWindow::refreshPreview() {
    const Surface* shown = m_sharpPreview ? &*m_sharpPreview : m_preview;
    if (!shown)
        return;
    const int size = m_sharpPreview ? shown->width : m_scale.px(shown->width);
    pictureBox::setPicture(m_controls.preview, shown, size,
                           designColour(layout::PreviewBackColour));
    // The preview shows each icon as it is drawn, as often as a screen can
    // show it: painting it for every icon of a file that holds hundreds
    // would cost more than drawing them.
    const auto now = std::chrono::steady_clock::now();
    if (now - m_previewPainted >= PreviewFrame) {
        pictureBox::refresh(m_controls.preview);
        m_previewPainted = now;
        m_previewDue = false;
    } else if (!m_previewDue) {
        pictureBox::refreshLater(m_controls.preview);
        m_previewDue = true;
    }
}

int MainWindow::pictureSize() const {
    return m_scale.pictureSize(CellSize);
}

void MainWindow::handleEvents() {
    // A turn of the message loop costs a few hundred microseconds on Windows
    // and milliseconds under Wine: a folder harvest, which yields after
    // every file, takes one at most every PumpInterval, well within the
    // longest pause the window allows.
    if (std::chrono::steady_clock::now() - m_pumped < PumpInterval)
        return;
    messageLoop::pump();
    m_pumped = std::chrono::steady_clock::now();
}

void MainWindow::harvestBegins() {
    m_list->holdAppends();
}

void MainWindow::showTilesSoFar() {
    // As seldom as the loop turns; a message shown meanwhile shows them all
    // (WM_ENTERIDLE).
    const auto now = std::chrono::steady_clock::now();
    if (now - m_published < PumpInterval)
        return;
    m_list->publishAppends();
    m_published = now;
}

void MainWindow::harvestEnds() {
    m_list->releaseAppends();
    if (m_previewDue) // the last icon drawn shows
        pictureBox::refresh(m_controls.preview);
    m_previewDue = false;
}

void MainWindow::showMenu(POINT at) {
    if (m_menu)
        DestroyMenu(m_menu);
    m_menu = CreatePopupMenu();
    const auto offered = m_controller->tileMenu(m_list->selectedRow().has_value());
    const auto entry = [&](int id, const char* caption, bool enabled) {
        AppendMenuW(m_menu, MF_STRING | (enabled ? 0 : MF_GRAYED), static_cast<UINT_PTR>(id),
                    wide(caption).c_str());
    };
    entry(SaveIconEntry, text("Save Icon As..."), true);
    entry(DetailsEntry, text("Icon Properties..."), true);
    AppendMenuW(m_menu, MF_SEPARATOR, 0, nullptr);
    entry(SaveSelectedEntry, text("Save Selected Icons..."), offered.saveSelected);
    entry(SaveAllEntry, text("Save All..."), offered.saveAll);
    entry(CopyEntry, (std::string(text("Copy")) + "\tCtrl+C").c_str(), offered.copy);
    AppendMenuW(m_menu, MF_SEPARATOR, 0, nullptr);
    entry(IncludeCursorsEntry, text("Include Cursors"), true);
    CheckMenuItem(m_menu, IncludeCursorsEntry,
                  MF_BYCOMMAND | (m_controller->includesCursors() ? MF_CHECKED : MF_UNCHECKED));
    TrackPopupMenu(m_menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, m_window,
                   nullptr);
}

void MainWindow::showSelectedDetails() {
    auto details = m_controller->details(m_list->selectedRow());
    if (details)
        DetailsWindow::open(std::move(*details), m_window, m_asker);
}

void MainWindow::copySelected() {
    const auto png = m_controller->copyPng(m_list->selectedRow());
    if (!png)
        return;
    // The largest image with its alpha, as a picture and as PNG data.
    const auto picture = m_png->decode(ByteView(*png));
    pictureData::copy(m_window, picture ? *picture : IconBitmap{}, *png);
}

void MainWindow::minimise() {
    if (m_tray && m_tray->added()) {
        ShowWindow(m_window, SW_HIDE);
        return;
    }
    // Without a notification area a hidden window could never come back, so
    // the window takes a task-bar button and stays there minimised.
    SetWindowLongPtrW(m_window, GWL_EXSTYLE,
                      (GetWindowLongPtrW(m_window, GWL_EXSTYLE) & ~WS_EX_TOOLWINDOW) |
                          WS_EX_APPWINDOW);
    ShowWindow(m_window, SW_MINIMIZE);
}

void MainWindow::showFromTray() {
    if (IsIconic(m_window))
        ShowWindow(m_window, SW_RESTORE);
    ShowWindow(m_window, SW_SHOW);
    SetForegroundWindow(m_window);
}

void MainWindow::showAbout() {
    AboutWindow::showModal(m_window);
}

void MainWindow::closeProgram() {
    if (!m_controller->end())
        return;
    tileDrag::removeDragFolders();
    if (m_tray)
        m_tray->remove();
    ShowWindow(m_window, SW_HIDE);
    PostQuitMessage(0);
}

} // namespace orvu::win32

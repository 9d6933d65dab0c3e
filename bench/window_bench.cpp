// The real main window, driven offscreen.
//
//   orvu-window-bench start FILE [--repeat N]
//       Milliseconds from the click on Start to the last tile of FILE listed,
//       and the longest time the window went without handling its events.
//   orvu-window-bench scan DIR
//       A folder harvest of DIR through the window: the total time, the
//       longest time the window went without handling its events, the
//       memory the harvest left in use and the process's peak.
//
// Each runs at the screen's density QT_SCALE_FACTOR gives (1 unless set);
// compare-density.sh runs start and scan at 1 and 2 side by side.
//   orvu-window-bench details FILE
//       Harvests FILE, then opens the details of its icon with the most
//       images: milliseconds until the window shows, and until every image
//       of it is decoded and shown.
//   orvu-window-bench save-all DIR OUT
//       Harvests the folder DIR, then saves every tile into OUT (made if
//       missing) as .ico ("Save All..."): the files written, the time the save
//       took and its longest pause.
//   orvu-window-bench select-all [TILES]
//       A list of TILES tiles (default 100000): how long Ctrl+A and the
//       tile menu take, each until the window has painted.
//   orvu-window-bench animation [FRAMES] [SIDE]
//       A hostile animated cursor: FRAMES frames (default 1000), each a
//       cursor of one SIDE x SIDE PNG (default 512) that compresses to a few
//       kilobytes, a step each at the fastest rate. Opens it in the window
//       and its details, then lets it play for three seconds: the time the
//       details took to open, the steps shown, the longest time the window
//       went without handling its events, and the memory in use before the
//       file was opened, with the details open, and after they closed.
//   orvu-window-bench make-icon FILE [IMAGES]
//       Writes an icon file of one icon with IMAGES images (default 65535,
//       the most a directory lists), 16 x 16 in 16 colours each, for details.
//   orvu-window-bench make-tree DIR [FILES] [SOURCE]
//       Writes a tree of about FILES files (default 10000) in nested folders:
//       hard links to the executables and icon files below SOURCE (default:
//       the test corpus), a third of them under other names, plus text files.

#include "app/icon_details_window.h"
#include "app/main_window.h"
#include "app/tile_list_model.h"
#include "controls/list_view.h"
#include "controls/option_button.h"
#include "controls/push_button.h"
#include "harvest/asker.h"
#include "platform/icon_files.h"
#include "qt/qt_bridge.h"
#include "qt/qt_png_decoder.h"
#include "support/icon_builders.h"
#include "support/png_writer.h"
#include "support/test_files.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// An asker that answers with one path and never shows anything.
class ScriptedAsker final : public orvu::Asker {
public:
    QString path;
    std::optional<std::filesystem::path> openFile(orvu::Owner, const orvu::FileQuestion&) override {
        return orvu::toPath(path);
    }
    std::optional<orvu::SavePlace> saveFile(orvu::Owner, const orvu::FileQuestion&) override {
        return {};
    }
    std::optional<orvu::FolderAnswer> chooseFolder(orvu::Owner,
                                                   const orvu::FolderQuestion&) override {
        return orvu::FolderAnswer{orvu::toPath(path), choice};
    }
    orvu::Reply ask(orvu::Owner, const std::string&, bool) override { return orvu::Reply::Yes; }
    void tell(orvu::Owner, const std::string& message) override {
        std::fprintf(stderr, "message: %s\n", message.c_str());
    }
    void inform(orvu::Owner owner, const std::string& message) override { tell(owner, message); }
    std::size_t choice = 0;
};

// The longest time between two turns of the event loop while it is running:
// a timer due at every turn fires once per yield.
class Pauses {
public:
    Pauses() {
        m_ticker.setInterval(0);
        QObject::connect(&m_ticker, &QTimer::timeout, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            if (m_last >= 0)
                m_longest = std::max(m_longest, now - m_last);
            m_last = now;
            ++m_turns;
        });
        m_clock.start();
        m_ticker.start();
    }
    void stop() { m_ticker.stop(); }
    double longestMilliseconds() const { return static_cast<double>(m_longest) / 1e6; }
    std::uint64_t turns() const { return m_turns; }

private:
    QElapsedTimer m_clock;
    QTimer m_ticker;
    qint64 m_last = -1;
    qint64 m_longest = 0;
    std::uint64_t m_turns = 0;
};

// The process's peak resident memory so far, in MiB (0 where the system
// doesn't say).
double peakMib() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    }
    return 0;
}

// The process's resident memory now, in MiB (0 where the system doesn't say).
double residentMib() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    if (!(statm >> pages >> resident))
        return 0;
    return static_cast<double>(resident) * 4096.0 / (1024.0 * 1024.0);
}

struct Window {
    ScriptedAsker dialogs;
    orvu::QtPngDecoder png;
    orvu::MainWindow form{dialogs, &png};
    Window() {
        form.load();
        form.show();
        QApplication::processEvents();
    }
};

// Tiles shown drawn at the screen's size.
int sharpTiles(orvu::MainWindow& form) {
    const int size = form.tileRows().pictureSize();
    int sharp = 0;
    for (std::size_t i = 0; i < form.controller().tiles().size(); ++i)
        sharp += form.controller().tiles().cellAt(i, size).state ==
                 orvu::TileCollection::SizedCell::State::Drawn;
    return sharp;
}

// Selects tile `row` and opens its details (null when they didn't open).
orvu::IconDetailsWindow* openDetails(Window& window, int row) {
    orvu::ListView* list = window.form.controls().iconList;
    list->setCurrentIndex(list->model()->index(row, 0));
    window.form.showSelectedDetails();
    orvu::IconDetailsWindow* shown = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        shown = shown ? shown : qobject_cast<orvu::IconDetailsWindow*>(top);
    return shown;
}

int startClick(const QString& file, int repeat) {
    Window window;
    window.dialogs.path = file;
    window.form.controls().fileModeOption->click();
    std::vector<double> times;
    std::vector<double> shown;
    int tiles = 0;
    int sharp = 0;
    double longestPause = 0;
    for (int i = 0; i < repeat; ++i) {
        window.form.controls().pickFileButton->click();
        QApplication::processEvents();
        QElapsedTimer timer;
        Pauses pauses;
        timer.start();
        window.form.controls().startButton->click();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        // Until the list has painted and drawn what it shows at the screen's size.
        do
            QApplication::processEvents();
        while (window.form.tileRows().redrawing());
        shown.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        pauses.stop();
        longestPause = std::max(longestPause, pauses.longestMilliseconds());
        tiles = static_cast<int>(window.form.controller().tiles().size());
        sharp = sharpTiles(window.form);
    }
    std::sort(times.begin(), times.end());
    std::sort(shown.begin(), shown.end());
    std::printf("start at ratio %.2f: %d tiles, best %.2f ms, median %.2f ms, worst %.2f ms; "
                "painted with %d tiles at %d px: best %.2f ms, median %.2f ms; longest pause "
                "%.2f ms\n",
                qApp->devicePixelRatio(), tiles, times.front(), times[times.size() / 2],
                times.back(), sharp, window.form.tileRows().pictureSize(), shown.front(),
                shown[shown.size() / 2], longestPause);
    return 0;
}

int scanThroughWindow(const QString& folder) {
    Window window;
    window.dialogs.path = folder;
    window.form.controls().folderModeOption->click();
    window.form.controls().pickFolderButton->click();
    QApplication::processEvents();

    const double before = residentMib();
    QElapsedTimer clock;
    Pauses pauses;
    clock.start();
    window.form.controls().startButton->click();
    const double total = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    pauses.stop();
    std::printf("window scan at ratio %.2f: %d tiles, %.3f s total, %llu event-loop turns, "
                "longest pause %.2f ms, %.1f MiB more in use after it, peak %.1f MiB\n",
                qApp->devicePixelRatio(), static_cast<int>(window.form.controller().tiles().size()),
                total, static_cast<unsigned long long>(pauses.turns()),
                pauses.longestMilliseconds(), residentMib() - before, peakMib());
    return 0;
}

int details(const QString& file) {
    Window window;
    window.dialogs.path = file;
    window.form.controls().fileModeOption->click();
    window.form.controls().pickFileButton->click();
    window.form.controls().startButton->click();
    QApplication::processEvents();
    // The icon with the most images.
    auto library = orvu::openIconLibrary(orvu::toPath(file), &window.png);
    if (!library || library->count() == 0) {
        std::fprintf(stderr, "no icons in %s\n", file.toUtf8().constData());
        return 1;
    }
    std::uint32_t most = 0;
    std::size_t images = 0;
    for (std::uint32_t k = 0; k < library->count(); ++k) {
        const auto group = library->group(orvu::GroupRef{orvu::GroupKind::Icon, k});
        if (group && group->entries.size() > images) {
            images = group->entries.size();
            most = k;
        }
    }
    QElapsedTimer timer;
    timer.start();
    orvu::IconDetailsWindow* shown = openDetails(window, static_cast<int>(most));
    if (!shown)
        return 1;
    const double opened = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    while (shown->imagesShown() < shown->details().imageCount())
        QApplication::processEvents();
    const double decoded = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    std::printf("details of icon %u (%zu images): shown after %.2f ms, every image after %.2f ms\n",
                most + 1, images, opened, decoded);
    return 0;
}

int saveAll(const QString& folder, const QString& out) {
    Window window;
    window.dialogs.path = folder;
    window.form.controls().folderModeOption->click();
    window.form.controls().pickFolderButton->click();
    window.form.controls().startButton->click();
    QApplication::processEvents();
    if (!QDir().mkpath(out)) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(out));
        return 1;
    }
    window.dialogs.path = out;
    QElapsedTimer timer;
    Pauses pauses;
    timer.start();
    window.form.controller().saveAllTiles();
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    pauses.stop();
    const auto written = QDir(out).entryList(QDir::Files).size();
    std::printf("save all: %d tiles, %lld files written, %.3f s, longest pause %.2f ms\n",
                static_cast<int>(window.form.controller().tiles().size()),
                static_cast<long long>(written), seconds, pauses.longestMilliseconds());
    return 0;
}

int selectAll(int tiles) {
    Window window;
    orvu::ListView* list = window.form.controls().iconList;
    const orvu::IconCell cell = orvu::Surface::filled(32, 32, 0x008080);
    for (int i = 0; i < tiles; ++i)
        window.form.controller().tiles().append(i, cell, 0xFFFFFF, {});
    list->setFocus();
    QApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier);
    QApplication::sendEvent(list, &press);
    list->viewport()->repaint();
    const double selecting = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    timer.restart();
    window.form.listPressed(Qt::RightButton, QPoint(10, 10));
    QApplication::processEvents();
    const double menu = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    std::printf("%d tiles: select all %.2f ms (%lld selected), menu %.2f ms\n", tiles, selecting,
                static_cast<long long>(list->selectedRows().size()), menu);
    window.form.controls().tileMenu->hide();
    return 0;
}

int makeTree(const fs::path& root, int files, const fs::path& source) {
    std::vector<fs::path> originals;
    for (const auto& entry : fs::recursive_directory_iterator(source)) {
        const std::string extension = entry.path().extension().string();
        if (entry.is_regular_file() &&
            (extension == ".exe" || extension == ".dll" || extension == ".ico"))
            originals.push_back(entry.path());
    }
    std::sort(originals.begin(), originals.end());
    if (originals.empty()) {
        std::fprintf(stderr, "no executables below %s\n", source.c_str());
        return 1;
    }
    fs::create_directories(root);
    int written = 0;
    for (int folder = 0; written < files; ++folder) {
        // Three levels: root/dNN/eNN/fN.
        const fs::path here = root / ("d" + std::to_string(folder % 20)) /
                              ("e" + std::to_string(folder / 20 % 25)) /
                              ("f" + std::to_string(folder / 500));
        fs::create_directories(here);
        for (int i = 0; i < 25 && written < files; ++i, ++written) {
            const fs::path& original =
                originals[static_cast<std::size_t>(written) % originals.size()];
            std::string name = original.filename().string();
            if (written % 3 == 1)
                name += ".EXE";
            if (written % 7 == 3) {
                std::ofstream(here / (name + ".txt")) << "notes " << written << '\n';
                continue;
            }
            std::error_code error;
            fs::create_hard_link(original, here / name, error);
            if (error && !fs::exists(here / name)) // a tree made before stays as it is
                fs::copy_file(original, here / name);
        }
    }
    std::printf("%s: %d files\n", root.c_str(), written);
    return 0;
}

int animation(int frames, int side) {
    const orvu::test::TempDir dir;
    {
        orvu::test::PngFormat format;
        format.width = format.height = static_cast<std::uint32_t>(side);
        orvu::test::StoredImage image{orvu::test::groupEntry(0, 0, 32, 0),
                                      orvu::test::zeroPng(format)};
        image.entry.hotspot = orvu::Hotspot{side / 2, side / 2};
        const auto frame = orvu::test::buildCursorFile({image});
        orvu::test::AnimationDescription ani;
        ani.frames.assign(static_cast<std::size_t>(frames), frame);
        ani.displayRate = 1;
        orvu::test::writeFile(dir / "hostile.ani", orvu::test::buildAnimation(ani));
    }
    const double before = residentMib();
    double open = 0;
    {
        Window window;
        window.dialogs.path = orvu::toDisplay(dir / "hostile.ani");
        window.form.controls().fileModeOption->click();
        window.form.controls().pickFileButton->click();
        window.form.controls().startButton->click();
        QApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        orvu::IconDetailsWindow* shown = openDetails(window, 0);
        if (!shown || !shown->player()) {
            std::fprintf(stderr, "the animation did not open\n");
            return 1;
        }
        const double opened = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        std::size_t steps = 0;
        std::size_t last = shown->step();
        Pauses pauses;
        timer.restart();
        while (timer.elapsed() < 3000) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
            steps += shown->step() != last ? 1 : 0;
            last = shown->step();
        }
        pauses.stop();
        open = residentMib();
        shown->close();
        QApplication::processEvents();
        std::printf("animation: %d frames of %d x %d, details open in %.2f ms, %zu steps shown in "
                    "3 s, longest pause %.2f ms\n",
                    frames, side, side, opened, steps, pauses.longestMilliseconds());
    }
    std::printf("memory: %.1f MiB before, %.1f MiB playing, %.1f MiB after\n", before, open,
                residentMib());
    return 0;
}

int makeIcon(const fs::path& file, int count) {
    std::vector<orvu::test::StoredImage> images;
    for (int i = 0; i < count; ++i)
        images.push_back({orvu::test::groupEntry(16, 16, 4, 0),
                          orvu::test::solidDib(16, 4, i % 2 ? 0xFF0000u : 0x0000FFu)});
    orvu::test::writeFile(file, orvu::test::buildIconFile(images));
    std::printf("%s: one icon of %d images\n", file.c_str(), count);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(1);
    const auto option = [&](const QString& name, int fallback) {
        const qsizetype at = arguments.indexOf(name);
        return at >= 0 && at + 1 < arguments.size() ? arguments[at + 1].toInt() : fallback;
    };
    if (arguments.size() >= 2 && arguments[0] == "start")
        return startClick(arguments[1], std::max(1, option("--repeat", 20)));
    if (arguments.size() >= 2 && arguments[0] == "scan")
        return scanThroughWindow(arguments[1]);
    if (arguments.size() >= 2 && arguments[0] == "details")
        return details(arguments[1]);
    if (arguments.size() >= 3 && arguments[0] == "save-all")
        return saveAll(arguments[1], arguments[2]);
    if (arguments.size() >= 1 && arguments[0] == "select-all")
        return selectAll(arguments.size() > 1 ? arguments[1].toInt() : 100000);
    if (arguments.size() >= 1 && arguments[0] == "animation")
        return animation(std::clamp(arguments.size() > 1 ? arguments[1].toInt() : 1000, 1, 4096),
                         std::clamp(arguments.size() > 2 ? arguments[2].toInt() : 512, 1, 1024));
    if (arguments.size() >= 2 && arguments[0] == "make-icon")
        return makeIcon(arguments[1].toStdString(),
                        std::clamp(arguments.size() > 2 ? arguments[2].toInt() : 65535, 1, 65535));
    if (arguments.size() >= 2 && arguments[0] == "make-tree") {
        const int files = arguments.size() > 2 ? arguments[2].toInt() : 10000;
        const fs::path source =
            arguments.size() > 3 ? fs::path(arguments[3].toStdString()) : orvu::test::corpusDir();
        return makeTree(arguments[1].toStdString(), files, source);
    }
    std::fprintf(stderr, "usage: orvu-window-bench start FILE [--repeat N] | scan DIR | "
                         "details FILE | save-all DIR OUT | select-all [TILES] | "
                         "animation [FRAMES] [SIDE] | "
                         "make-icon FILE [IMAGES] | make-tree DIR [FILES] [SOURCE]\n");
    return 2;
}

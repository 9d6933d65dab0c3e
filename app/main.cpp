// orvu-icons: pulls the icons out of Windows executables and shows them as tiles.

#include "app/main_window.h"
#include "app/start_path.h"
#include "app/tray_icon.h"
#include "app/window_design.h"
#include "qt/qt_asker.h"
#include "qt/qt_png_decoder.h"
#include "qt/qt_text.h"
#include "qt/single_instance.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QSettings>
#include <QTimer>
#include <QTranslator>
#include <cstdio>
#include <filesystem>
#include <optional>

namespace {

using orvu::qtText;

// The help of `orvu-icons --help`, in the language of the windows.
QString helpText() {
    const QString options[][2] = {
        {QStringLiteral("-h, --help"), qtText("Shows this help.")},
        {QStringLiteral("-v, --version"), qtText("Shows the version.")},
    };
    const auto line = [](const QString& left, const QString& right) {
        return QStringLiteral("  %1  %2\n").arg(left, -13).arg(right);
    };
    QString text = qtText("Usage: orvu-icons [options] [PATH]") + u'\n' +
                   qtText("Pulls the icons out of Windows programs.") + QStringLiteral("\n\n") +
                   qtText("Options:") + u'\n';
    for (const auto& [option, description] : options)
        text += line(option, description);
    return text + u'\n' + qtText("Arguments:") + u'\n' +
           line(QStringLiteral("PATH"), qtText("A program, icon file or folder to harvest."));
}

// orvu-icons [PATH]: a file or folder to harvest at once ("Open with"). Read
// before the window system is reached, so that --help and --version work
// without a display. The path comes back absolute, as the file system's own
// bytes (see startPath); nullopt when the program is to end at once with
// `status`.
std::optional<std::filesystem::path> readCommandLine(int argc, char** argv, int& status) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser options;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    options.addOptions({help, version});
    status = 0;
    const bool parsed = options.parse(arguments);
    if (!parsed || options.positionalArguments().size() > 1) {
        // The options take no value: what isn't an unknown option is a value
        // given to one (--help=x).
        const QString problem =
            !options.unknownOptionNames().isEmpty()
                ? qtText("Unknown option \"%1\".").arg(options.unknownOptionNames().first())
            : !parsed ? qtText("The options take no value.")
                      : qtText("One PATH at most.");
        std::fputs(
            qPrintable(qtText("orvu-icons: %1\nTry 'orvu-icons --help'.").arg(problem) + u'\n'),
            stderr);
        status = 2;
        return std::nullopt;
    }
    if (options.isSet(help) || options.isSet(version)) {
        std::fputs(qPrintable(options.isSet(help)
                                  ? helpText()
                                  : QStringLiteral("orvu-icons %1\n").arg(ORVU_VERSION)),
                   stdout);
        return std::nullopt;
    }
    return orvu::startPath(argc, argv);
}

} // namespace

int main(int argc, char** argv) {
    // The name only, no display name: Qt would add a display name to every
    // window title, the dialogs' included.
    QApplication::setApplicationName(orvu::productTitle());
    QApplication::setApplicationVersion(QStringLiteral(ORVU_VERSION));
    QApplication::setOrganizationName(QStringLiteral("Orvu"));
    int status = 0;
    const auto chosen = readCommandLine(argc, argv, status);
    if (!chosen)
        return status;
    const std::filesystem::path path = *chosen;

    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    // The standard dialogs and questions speak the windows' language.
    QTranslator qtTexts;
    if (orvu::loadQtTexts(qtTexts))
        QApplication::installTranslator(&qtTexts);

    orvu::QtAsker asker;
    const orvu::QtPngDecoder png;
    // One instance a user: a later start hands its path to this one, asks it
    // to come forward and ends.
    orvu::SingleInstance instance(orvu::SingleInstance::userKey(QStringLiteral("orvu-icons")));
    orvu::MainWindow window(asker, &png);
    window.onLoad = [&instance, &path] { return instance.claim(path); };
    QObject::connect(&instance, &orvu::SingleInstance::showRequested, &window,
                     &orvu::MainWindow::showFromTray);
    QObject::connect(
        &instance, &orvu::SingleInstance::pathHandedOver, &window,
        [&window](const std::filesystem::path& handed) { window.controller().openPath(handed); });
    window.onEndProgram = [] { QApplication::exit(0); };
    // The one choice the window remembers between runs.
    QSettings settings(QStringLiteral("Orvu"), QStringLiteral("orvu-icons"));
    const QString includeCursors = QStringLiteral("tiles/includeCursors");
    window.controller().setIncludesCursors(settings.value(includeCursors, false).toBool());
    window.controller().onIncludesCursorsChanged = [&settings, &includeCursors](bool include) {
        settings.setValue(includeCursors, include);
        settings.sync();
    };
    QObject::connect(&application, &QApplication::aboutToQuit, &window,
                     [&window] { window.trayIcon().remove(); });
    if (!window.load())
        return 0;
    window.show();
    if (!path.empty())
        QTimer::singleShot(0, &window, [&window, &path] { window.controller().openPath(path); });
    return QApplication::exec();
}

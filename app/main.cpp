// Orvu图标提取机: pulls the icons out of Windows executables and shows them as tiles.

#include "app/main_window.h"
#include "app/tray_icon.h"
#include "app/window_design.h"
#include "qt/dialogs.h"
#include "qt/qt_png_decoder.h"
#include "qt/single_instance.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // The name only, no display name: Qt would add a display name to every
    // window title, the dialogs' included.
    QApplication::setApplicationName(orvu::ProductTitle);
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QApplication::setOrganizationName(QStringLiteral("Orvu"));
    QApplication::setQuitOnLastWindowClosed(false);
    // The standard dialogs and questions speak the windows' language.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    orvu::QtDialogs dialogs;
    const orvu::QtPngDecoder png;
    // One instance a user: a later start asks this one to come forward and ends.
    orvu::SingleInstance instance(orvu::SingleInstance::userKey(QStringLiteral("orvu-icons")));
    orvu::MainWindow window(dialogs, &png);
    window.onLoad = [&instance] { return instance.claim(); };
    QObject::connect(&instance, &orvu::SingleInstance::showRequested, &window,
                     &orvu::MainWindow::showFromTray);
    window.onEndProgram = [] { QApplication::exit(0); };
    QObject::connect(&application, &QApplication::aboutToQuit, &window,
                     [&window] { window.trayIcon().remove(); });
    if (!window.load())
        return 0;
    window.show();
    return QApplication::exec();
}

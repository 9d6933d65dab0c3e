// Orvu图标提取机: pulls the icons out of Windows executables and shows them as tiles.

#include "qt/dialogs.h"
#include "app/form1.h"
#include "qt/qt_png_decoder.h"
#include "qt/single_instance.h"
#include "app/tray_icon.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // The name only, no display name: Qt would add a display name to every
    // window title, the dialogs' included.
    QApplication::setApplicationName(QStringLiteral("Orvu图标提取机 D2002.10.27"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QApplication::setOrganizationName(QStringLiteral("Orvu"));
    QApplication::setQuitOnLastWindowClosed(false);

    orvu::QtDialogs dialogs;
    const orvu::QtPngDecoder png;
    // One instance a user: a later start asks this one to come forward and ends.
    orvu::SingleInstance instance(orvu::SingleInstance::userKey(QStringLiteral("orvu-icons")));
    orvu::Form1 form(dialogs, &png);
    form.onLoad = [&instance] { return instance.claim(); };
    QObject::connect(&instance, &orvu::SingleInstance::showRequested, &form,
                     &orvu::Form1::trayShowWindow);
    form.onEndProgram = [] { QApplication::exit(0); };
    QObject::connect(&application, &QApplication::aboutToQuit, &form,
                     [&form] { form.trayIcon().remove(); });
    if (!form.load())
        return 0;
    form.show();
    return QApplication::exec();
}

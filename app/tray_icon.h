#pragma once

#include <QObject>
#include <QSystemTrayIcon>

namespace orvu {

// The program's icon in the notification area: the window's icon with the
// product title as its tip, no menu. A left click on it asks for the main
// window; every other mouse event over it does nothing. It is added once at
// load and removed once when the program ends.
class TrayIcon : public QObject {
    Q_OBJECT

public:
    TrayIcon(const QIcon& icon, const QString& tip, QObject* parent = nullptr);

    // Whether a mouse event over the icon brings the main window: only a
    // left click (a press and release) does.
    static bool showsWindowFor(QSystemTrayIcon::ActivationReason reason);

    void add();
    void remove();
    const QSystemTrayIcon& icon() const { return m_icon; }

signals:
    void showWindowRequested();

private:
    QSystemTrayIcon m_icon;
    bool m_removed = false;
};

} // namespace orvu

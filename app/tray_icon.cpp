#include "app/tray_icon.h"

namespace orvu {

TrayIcon::TrayIcon(const QIcon& icon, const QString& tip, QObject* parent)
    : QObject(parent), m_icon(icon) {
    m_icon.setToolTip(tip);
    connect(&m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (showsWindowFor(reason))
                    emit showWindowRequested();
            });
}

bool TrayIcon::showsWindowFor(QSystemTrayIcon::ActivationReason reason) {
    return reason == QSystemTrayIcon::Trigger;
}

void TrayIcon::add() {
    if (!m_removed)
        m_icon.show();
}

void TrayIcon::remove() {
    m_removed = true;
    m_icon.hide();
}

} // namespace orvu

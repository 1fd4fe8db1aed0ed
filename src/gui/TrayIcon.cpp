#include "TrayIcon.h"

#include "FieldBinding.h"
#include "ProgramIcon.h"

namespace mivo {

void TrayIcon::show(int identifier, const std::string& tip) {
    m_identifier = identifier;
    if (!m_icon) {
        m_icon = std::make_unique<QSystemTrayIcon>(programIcon());
        QObject::connect(m_icon.get(), &QSystemTrayIcon::activated, m_icon.get(),
                         [this](QSystemTrayIcon::ActivationReason reason) { activated(reason); });
    }
    m_icon->setToolTip(toQString(tip));
    m_icon->show();
}

void TrayIcon::remove() {
    if (m_icon) {
        m_icon->hide();
    }
}

QSystemTrayIcon* TrayIcon::shown() const {
    return m_icon && m_icon->isVisible() ? m_icon.get() : nullptr;
}

void TrayIcon::activated(QSystemTrayIcon::ActivationReason reason) {
    // A left press is a trigger, and so is the second press of a double
    // click; a right press asks for the context menu. A middle press is
    // none of these.
    const bool pressed = reason == QSystemTrayIcon::Trigger ||
                         reason == QSystemTrayIcon::DoubleClick ||
                         reason == QSystemTrayIcon::Context;
    if (pressed && m_pressed) {
        m_pressed(m_identifier);
    }
}

}  // namespace mivo

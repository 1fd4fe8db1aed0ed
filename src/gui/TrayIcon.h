#pragma once
// The program's icon in the desktop's notification area: the program's
// picture with a tip, reporting a left or right press with the identifier it
// was shown with. Where the desktop has no notification area nothing shows
// and nothing is reported; one that appears later gets the icon then.

#include <QSystemTrayIcon>
#include <functional>
#include <memory>
#include <string>

namespace mivo {

class TrayIcon {
public:
    using PressHandler = std::function<void(int identifier)>;

    void setPressHandler(PressHandler pressed) { m_pressed = std::move(pressed); }
    void show(int identifier, const std::string& tip);
    void remove();

    // The icon while shown, for tests that look at it or press it.
    QSystemTrayIcon* shown() const;

private:
    void activated(QSystemTrayIcon::ActivationReason reason);

    PressHandler m_pressed;
    int m_identifier = 0;
    // Made when first shown: a program that never shows it pays nothing.
    std::unique_ptr<QSystemTrayIcon> m_icon;
};

}  // namespace mivo

#include "QtUi.h"

#include <QGuiApplication>
#include <QScreen>
#include <cstddef>

#include "Application.h"
#include "FieldBinding.h"
#include "HelpWindow.h"
#include "MainWindowWidget.h"
#include "UrgentNoticeWidget.h"
#include "text/WindowTitle.h"

namespace mivo {

QtUi::QtUi(Application& app) : m_app(app) {}

QtUi::~QtUi() = default;

void QtUi::attach(WindowId id, QWidget& window) {
    m_windows.at(static_cast<std::size_t>(id)) = &window;
}

void QtUi::attachMainWindow(TUbo& window) {
    m_ubo = &window;
    attach(WindowId::MainWindow, window);
    window.setWindowIconText(m_app.applicationTitle());
}

void QtUi::attachOnDemand(WindowId id, std::function<void()> build) {
    m_builders.at(static_cast<std::size_t>(id)) = std::move(build);
}

void QtUi::detach(WindowId id) {
    m_builders.at(static_cast<std::size_t>(id)) = nullptr;
    m_windows.at(static_cast<std::size_t>(id)) = nullptr;
}

QWidget* QtUi::window(WindowId id) const {
    return m_windows.at(static_cast<std::size_t>(id)).data();
}

QWidget* QtUi::windowToShow(WindowId id) {
    const auto index = static_cast<std::size_t>(id);
    if (m_windows.at(index) == nullptr && m_builders.at(index)) {
        m_builders.at(index)();
    }
    return m_windows.at(index).data();
}

ScreenSize QtUi::screenSize() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return {};
    }
    const QRect geometry = screen->geometry();
    return {geometry.width(), geometry.height()};
}

void QtUi::setApplicationTitle(const std::string& title) {
    // The taskbar text is a title too: one line.
    m_app.setApplicationTitle(toQString(windowTitleText(title)));
    // The taskbar entry is the main window's; its icon text is what a
    // taskbar shows for it where that differs from the title bar.
    if (m_ubo) {
        m_ubo->setWindowIconText(m_app.applicationTitle());
    }
}

void QtUi::showWindow(WindowId id) {
    QWidget* w = windowToShow(id);
    if (w == nullptr) {
        return;
    }
    if (w->isMinimized()) {
        w->showNormal();
    } else {
        w->show();
    }
    w->raise();
    if (id == WindowId::UrgentNotice) {
        // It comes up after the new-mail window, and its words are the
        // message: it takes the focus so that the window system puts it on
        // top, and it stays there until it has it.
        m_urgentNoticeComingUp = true;
        w->activateWindow();
    }
}

void QtUi::raiseUrgentNotice() {
    if (QWidget* notice = window(WindowId::UrgentNotice);
        notice != nullptr && notice->isVisible() && !notice->isMinimized()) {
        notice->raise();
        notice->activateWindow();
    }
}

void QtUi::hideWindow(WindowId id) {
    if (QWidget* w = window(id)) {
        w->hide();
    }
}

bool QtUi::isWindowVisible(WindowId id) const {
    const QWidget* w = window(id);
    return w != nullptr && w->isVisible();
}

bool QtUi::isWindowMinimised(WindowId id) const {
    const QWidget* w = window(id);
    return w != nullptr && w->isMinimized();
}

void QtUi::bringApplicationToFront() {
    QWidget* front = QApplication::activeWindow();
    if (front == nullptr) {
        front = m_ubo.data();
    }
    if (front == nullptr) {
        return;
    }
    front->raise();
    if (m_urgentNoticeComingUp) {
        // The program comes to the front with the notice over it.
        raiseUrgentNotice();
        return;
    }
    front->activateWindow();
}

void QtUi::minimiseApplication() {
    if (m_ubo) {
        m_ubo->showMinimized();
    }
}

void QtUi::restoreApplication() {
    if (m_ubo && m_ubo->isMinimized()) {
        // Only the minimised state goes: a hidden window stays hidden.
        m_ubo->setWindowState(m_ubo->windowState() & ~Qt::WindowMinimized);
    }
}

void QtUi::showTaskbarButton() {
    if (m_ubo) {
        m_ubo->setTaskbarEntry(true);
    }
}

void QtUi::removeTaskbarButton() {
    if (m_ubo) {
        m_ubo->setTaskbarEntry(false);
    }
}

void QtUi::setTrayIconHandler(std::function<void(int)> pressed) {
    m_trayIcon.setPressHandler(std::move(pressed));
}

void QtUi::showTrayIcon(int identifier, const std::string& tip) {
    m_trayIcon.show(identifier, tip);
}

void QtUi::removeTrayIcon() {
    m_trayIcon.remove();
}

void QtUi::terminateApplication() {
    m_terminationRequested = true;
    // exit() lets the handler that asked finish; the loop then returns.
    QCoreApplication::exit(0);
}

void QtUi::drawOnMainWindow(const std::vector<ClockSegment>& segments) {
    if (m_ubo) {
        m_ubo->drawClock(segments);
    }
}

void QtUi::drawOnUrgentNotice(const std::vector<StripeLine>& lines) {
    if (auto* notice = qobject_cast<TUrgentNotice*>(window(WindowId::UrgentNotice))) {
        notice->drawStripes(lines);
    }
}

void QtUi::showMessageBox(const std::string& title, const std::string& text) {
    std::erase_if(m_messageBoxes, [](const auto& box) { return !box->isVisible(); });
    // No owner: it stands on its own on the desktop, whatever Mivo's windows do.
    auto box = std::make_unique<QMessageBox>(QMessageBox::NoIcon, toQString(title), toQString(text),
                                             QMessageBox::Ok | QMessageBox::Cancel);
    box->setObjectName(QStringLiteral("MessageBox"));
    box->setWindowModality(Qt::NonModal);
    box->show();
    m_messageBoxes.push_back(std::move(box));
}

void QtUi::showHelp() {
    if (!m_help) {
        m_help = std::make_unique<HelpWindow>(*this);
    }
    m_help->showContents();
}

}  // namespace mivo

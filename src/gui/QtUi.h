#pragma once
// The window system as the program's behaviour sees it, on Qt Widgets: the
// windows by their id, the taskbar entry and its text, the tray icon, the
// clock's canvas, message boxes, the help and the end.

#include <QMessageBox>
#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "TrayIcon.h"
#include "ports/UiPort.h"

namespace mivo {

class Application;
class HelpWindow;
class TUbo;

class QtUi : public UiPort {
public:
    explicit QtUi(Application& app);
    ~QtUi() override;
    QtUi(const QtUi&) = delete;
    QtUi& operator=(const QtUi&) = delete;

    // The windows register themselves as they are created; a window whose
    // controls are built on first use registers how to build it (which
    // attaches it), and is built when it is first shown.
    void attach(WindowId id, QWidget& window);
    void attachOnDemand(WindowId id, std::function<void()> build);
    void detach(WindowId id);
    void attachMainWindow(TUbo& window);

    ScreenSize screenSize() const override;
    void setApplicationTitle(const std::string& title) override;
    void showWindow(WindowId window) override;
    void hideWindow(WindowId window) override;
    bool isWindowVisible(WindowId window) const override;
    bool isWindowMinimised(WindowId window) const override;
    void bringApplicationToFront() override;
    void minimiseApplication() override;
    void restoreApplication() override;
    void showTaskbarButton() override;
    void removeTaskbarButton() override;
    void setTrayIconHandler(std::function<void(int)> pressed) override;
    void showTrayIcon(int identifier, const std::string& tip) override;
    void removeTrayIcon() override;
    void terminateApplication() override;
    void drawOnMainWindow(const std::vector<ClockSegment>& segments) override;
    void drawOnUrgentNotice(const std::vector<StripeLine>& lines) override;
    void showMessageBox(const std::string& title, const std::string& text) override;
    void showHelp() override;

    // The help window, once help was asked for.
    HelpWindow* helpWindow() const { return m_help.get(); }

    // Whether the program asked to end, also before the loop runs.
    bool terminationRequested() const { return m_terminationRequested; }
    // The urgent notice has become the active window, or gone: it has come
    // up on top, and from now on the user's clicks decide what is in front.
    void urgentNoticeSettled() { m_urgentNoticeComingUp = false; }
    const TrayIcon& trayIcon() const { return m_trayIcon; }

private:
    void raiseUrgentNotice();
    // The window if it has been built.
    QWidget* window(WindowId id) const;
    // The window, built now if need be.
    QWidget* windowToShow(WindowId id);

    Application& m_app;
    std::array<QPointer<QWidget>, 8> m_windows;
    std::array<std::function<void()>, 8> m_builders;
    QPointer<TUbo> m_ubo;
    TrayIcon m_trayIcon;
    bool m_terminationRequested = false;
    // Shown, and not yet the active window: whatever of the program is
    // brought to the front meanwhile (the new-mail window shown with it
    // activating) stays under it.
    bool m_urgentNoticeComingUp = false;
    std::unique_ptr<HelpWindow> m_help;
    // Message boxes do not hold up the handler that showed them; each is
    // kept until a later one finds it closed.
    std::vector<std::unique_ptr<QMessageBox>> m_messageBoxes;
};

}  // namespace mivo

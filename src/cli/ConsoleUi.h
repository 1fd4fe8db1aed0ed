#pragma once
// The window system as mivo-check sees it: no windows at all. Captions go to
// standard error, written when the program waits; windows are only
// remembered as shown or hidden.

#include <map>
#include <string>

#include "ports/UiPort.h"

namespace mivo {

class ConsoleUi : public UiPort {
public:
    ScreenSize screenSize() const override { return {1024, 768}; }
    void setApplicationTitle(const std::string& title) override;
    void showWindow(WindowId window) override { m_visible[window] = true; }
    void hideWindow(WindowId window) override { m_visible[window] = false; }
    bool isWindowVisible(WindowId window) const override;
    bool isWindowMinimised(WindowId) const override { return false; }
    void bringApplicationToFront() override {}
    void minimiseApplication() override {}
    void restoreApplication() override {}
    void showTaskbarButton() override {}
    void removeTaskbarButton() override {}
    void setTrayIconHandler(std::function<void(int)>) override {}
    void showTrayIcon(int, const std::string&) override {}
    void removeTrayIcon() override {}
    void terminateApplication() override;
    void drawOnMainWindow(const std::vector<ClockSegment>&) override {}
    void drawOnUrgentNotice(const std::vector<StripeLine>&) override {}
    // Written to standard error at once, after the captions before it.
    void showMessageBox(const std::string& title, const std::string& text) override;
    // There is no help window on a console.
    void showHelp() override {}

    // Writes the captions set since the last call.
    void flushCaptions();

private:
    std::map<WindowId, bool> m_visible;
    std::string m_captions;
};

}  // namespace mivo

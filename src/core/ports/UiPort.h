#pragma once
// What the program's behaviour asks of the window system: window visibility,
// the taskbar text, message boxes, the help and the end of the application. The GUI implements it
// with Qt; the console front end and the tests record the calls.

#include <functional>
#include <string>
#include <vector>

#include "ports/ClockSegment.h"
#include "ports/StripeLine.h"

namespace mivo {

// The program's eight windows, in their order of creation.
enum class WindowId {
    MainWindow,        // TUbo
    Accounts,          // TMultiPOP
    AdvancedOptions,   // TAdvancedOptions
    LogViewer,         // TLogViewer
    NewMail,           // TForm1
    UrgentNotice,      // TUrgentNotice
    DirectoryChooser,  // TForm2
    Uninstall,         // TINIT
};

struct ScreenSize {
    int width = 0;
    int height = 0;
};

class UiPort {
public:
    virtual ~UiPort() = default;

    // The primary screen, which windows centre themselves on.
    virtual ScreenSize screenSize() const = 0;
    // The text of the program's taskbar entry (the application title).
    virtual void setApplicationTitle(const std::string& title) = 0;
    // Shows a window without making it modal; hiding keeps it for later.
    virtual void showWindow(WindowId window) = 0;
    virtual void hideWindow(WindowId window) = 0;
    virtual bool isWindowVisible(WindowId window) const = 0;
    virtual bool isWindowMinimised(WindowId window) const = 0;
    // Raises the application above other programs' windows.
    virtual void bringApplicationToFront() = 0;
    virtual void minimiseApplication() = 0;
    // Brings a minimised application back; a hidden window stays hidden.
    virtual void restoreApplication() = 0;
    // The program's own entry in the desktop's taskbar (the main window's).
    virtual void showTaskbarButton() = 0;
    virtual void removeTaskbarButton() = 0;
    // The icon in the desktop's notification area, with the program's
    // picture and `tip`. A left or right press on it calls the handler with
    // `identifier`. Where the desktop has no notification area there is no
    // icon, and no press ever comes.
    virtual void setTrayIconHandler(std::function<void(int identifier)> pressed) = 0;
    virtual void showTrayIcon(int identifier, const std::string& tip) = 0;
    virtual void removeTrayIcon() = 0;
    // Ends the application once the current handler returns to the loop.
    virtual void terminateApplication() = 0;
    // Paints the countdown clock's strokes onto the main window, where they
    // stay until painted over.
    virtual void drawOnMainWindow(const std::vector<ClockSegment>& segments) = 0;
    // Paints stripe lines onto the urgent notice, over what earlier ticks
    // painted there.
    virtual void drawOnUrgentNotice(const std::vector<StripeLine>& lines) = 0;
    // A message box of its own (no owner window) with OK and Cancel. Which
    // button closes it makes no difference, so the caller does not wait.
    virtual void showMessageBox(const std::string& title, const std::string& text) = 0;
    // The program's help, opened at its contents.
    virtual void showHelp() = 0;
};

}  // namespace mivo

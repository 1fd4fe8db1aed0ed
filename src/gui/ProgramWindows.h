#pragma once
// The program's eight windows, created in their fixed order (each finishing
// its creation step before the next exists) and destroyed in reverse.

#include <functional>
#include <memory>

#include "AccountsDialog.h"
#include "AdvancedOptionsDialog.h"
#include "DirectoryChooser.h"
#include "LogViewer.h"
#include "MainWindow.h"
#include "NewMailWindow.h"
#include "UninstallWindow.h"
#include "UrgentNotice.h"

namespace mivo {

class Application;
class QtUi;

class ProgramWindows {
public:
    // Told the window's class name once it is created, or once it is gone.
    using Observer = std::function<void(const char* className)>;
    struct Observers {
        Observer created;
        Observer destroyed;
    };

    // An error in any creation step leaves the constructor; the windows made
    // so far are then destroyed without the main window's destroy step.
    ProgramWindows(Program& program, QtUi& ui, Application& app, Observers observers = {});
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    TUbo& mainWindow() { return *m_ubo; }
    TMultiPOP& accountsDialog() { return *m_multiPop; }
    TAdvancedOptions& advancedOptions() { return *m_advancedOptions; }
    TLogViewer& logViewer() { return *m_logViewer; }
    TForm1& newMailWindow() { return *m_form1; }
    TUrgentNotice& urgentNotice() { return *m_urgentNotice; }
    TForm2& directoryChooser() { return *m_form2; }
    TINIT& uninstallWindow() { return *m_init; }

private:
    template <typename Window>
    void created(WindowId id, Window& window);
    template <typename Window>
    void destroy(std::unique_ptr<Window>& window);

    QtUi& m_ui;
    Observers m_observers;
    // In order of creation, so that a failed start-up also unwinds in reverse.
    std::unique_ptr<TUbo> m_ubo;
    std::unique_ptr<TMultiPOP> m_multiPop;
    std::unique_ptr<TAdvancedOptions> m_advancedOptions;
    std::unique_ptr<TLogViewer> m_logViewer;
    std::unique_ptr<TForm1> m_form1;
    std::unique_ptr<TUrgentNotice> m_urgentNotice;
    std::unique_ptr<TForm2> m_form2;
    std::unique_ptr<TINIT> m_init;
};

}  // namespace mivo

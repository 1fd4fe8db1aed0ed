#pragma once
// The program's eight windows, created in their fixed order (each finishing
// its creation step before the next exists) and destroyed in reverse.
//
// The six windows that start hidden get their controls the first time they
// are shown or looked at: most runs never open them, and their controls
// alone would be megabytes of an idle program's memory. Their creation steps
// that the program's behaviour can see still run in the fixed order; the
// ones that only place the window run when its controls are built, before
// it is first shown.

#include <functional>
#include <memory>
#include <type_traits>

#include "AccountsDialogWidget.h"
#include "AdvancedOptionsDialog.h"
#include "DirectoryChooserWidget.h"
#include "LogViewerWidget.h"
#include "MainWindowWidget.h"
#include "NewMailWindowWidget.h"
#include "UninstallWindow.h"
#include "UrgentNoticeWidget.h"

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
    TMultiPOP& accountsDialog() { return m_multiPop.get(); }
    TAdvancedOptions& advancedOptions() { return m_advancedOptions.get(); }
    TLogViewer& logViewer() { return m_logViewer.get(); }
    TForm1& newMailWindow() { return m_form1.get(); }
    TUrgentNotice& urgentNotice() { return m_urgentNotice.get(); }
    TForm2& directoryChooser() { return m_form2.get(); }
    TINIT& uninstallWindow() { return *m_init; }

private:
    // A hidden window whose controls are built on first use. Once it is
    // destroyed, or was never set up, nothing can build it.
    template <typename Window>
    class OnDemand {
    public:
        OnDemand() = default;
        ~OnDemand();
        OnDemand(const OnDemand&) = delete;
        OnDemand& operator=(const OnDemand&) = delete;

        // Tells the window system how to build the window when it is first
        // shown.
        void attach(QtUi& ui, WindowId id, std::function<std::unique_ptr<Window>()> build);
        Window& get() {
            if (!m_window) {
                m_window = m_build();
            }
            return *m_window;
        }
        void destroy();

    private:
        QtUi* m_ui = nullptr;
        WindowId m_id{};
        std::function<std::unique_ptr<Window>()> m_build;
        std::unique_ptr<Window> m_window;
    };

    template <typename Window>
    void created();
    template <typename Window>
    void createOnDemand(WindowId id, OnDemand<Window>& window,
                        std::type_identity_t<std::function<std::unique_ptr<Window>()>> build);
    template <typename Window>
    void destroy(std::unique_ptr<Window>& window);
    template <typename Window>
    void destroy(OnDemand<Window>& window);

    QtUi& m_ui;
    Observers m_observers;
    // In order of creation, so that a failed start-up also unwinds in reverse.
    std::unique_ptr<TUbo> m_ubo;
    OnDemand<TMultiPOP> m_multiPop;
    OnDemand<TAdvancedOptions> m_advancedOptions;
    OnDemand<TLogViewer> m_logViewer;
    OnDemand<TForm1> m_form1;
    OnDemand<TUrgentNotice> m_urgentNotice;
    OnDemand<TForm2> m_form2;
    std::unique_ptr<TINIT> m_init;
};

}  // namespace mivo

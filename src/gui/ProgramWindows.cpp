#include "ProgramWindows.h"

#include "QtUi.h"

namespace mivo {

ProgramWindows::ProgramWindows(Program& program, QtUi& ui, Application& app, Observers observers)
    : m_ui(ui), m_observers(std::move(observers)) {
    m_ubo = std::make_unique<TUbo>(program, ui, app);
    created(WindowId::MainWindow, *m_ubo);
    m_multiPop = std::make_unique<TMultiPOP>(program, ui);
    created(WindowId::Accounts, *m_multiPop);
    m_advancedOptions = std::make_unique<TAdvancedOptions>(program, ui);
    created(WindowId::AdvancedOptions, *m_advancedOptions);
    m_logViewer = std::make_unique<TLogViewer>(program, ui);
    created(WindowId::LogViewer, *m_logViewer);
    m_form1 = std::make_unique<TForm1>(program, ui);
    created(WindowId::NewMail, *m_form1);
    m_urgentNotice = std::make_unique<TUrgentNotice>(program, ui);
    created(WindowId::UrgentNotice, *m_urgentNotice);
    m_form2 = std::make_unique<TForm2>(program);
    created(WindowId::DirectoryChooser, *m_form2);
    m_init = std::make_unique<TINIT>(program, ui);
    created(WindowId::Uninstall, *m_init);
    // The program is up: from now on the main window's end runs its destroy
    // step.
    m_ubo->enableDestroyStep();
}

ProgramWindows::~ProgramWindows() {
    destroy(m_init);
    destroy(m_form2);
    destroy(m_urgentNotice);
    destroy(m_form1);
    destroy(m_logViewer);
    destroy(m_advancedOptions);
    destroy(m_multiPop);
    destroy(m_ubo);
}

template <typename Window>
void ProgramWindows::created(WindowId id, Window& window) {
    if (id != WindowId::MainWindow) {
        m_ui.attach(id, window);
    }
    if (m_observers.created) {
        m_observers.created(Window::staticMetaObject.className());
    }
}

template <typename Window>
void ProgramWindows::destroy(std::unique_ptr<Window>& window) {
    window.reset();
    if (m_observers.destroyed) {
        m_observers.destroyed(Window::staticMetaObject.className());
    }
}

}  // namespace mivo

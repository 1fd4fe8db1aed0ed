#include "ProgramWindows.h"

#include "QtUi.h"

namespace mivo {

ProgramWindows::ProgramWindows(Program& program, QtUi& ui, Application& app, Observers observers)
    : m_ui(ui), m_observers(std::move(observers)) {
    m_ubo = std::make_unique<TUbo>(program, ui, app);
    created<TUbo>();
    createOnDemand(WindowId::Accounts, m_multiPop,
                   [&program, &ui] { return std::make_unique<TMultiPOP>(program, ui); });
    createOnDemand(WindowId::AdvancedOptions, m_advancedOptions,
                   [&program, &ui] { return std::make_unique<TAdvancedOptions>(program, ui); });
    createOnDemand(WindowId::LogViewer, m_logViewer,
                   [&program, &ui] { return std::make_unique<TLogViewer>(program, ui); });
    createOnDemand(WindowId::NewMail, m_form1,
                   [&program, &ui] { return std::make_unique<TForm1>(program, ui); });
    // The new-mail window's creation step as the program sees it: the state
    // of its Launch button.
    program.newMailWindowBehaviour().FormCreate();
    createOnDemand(WindowId::UrgentNotice, m_urgentNotice,
                   [&program, &ui] { return std::make_unique<TUrgentNotice>(program, ui); });
    createOnDemand(WindowId::DirectoryChooser, m_form2,
                   [&program] { return std::make_unique<TForm2>(program); });
    // Built at once: its creation step is the start-up decision.
    m_init = std::make_unique<TINIT>(program, ui);
    created<TINIT>();
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
void ProgramWindows::created() {
    if (m_observers.created) {
        m_observers.created(Window::staticMetaObject.className());
    }
}

template <typename Window>
void ProgramWindows::createOnDemand(
    WindowId id, OnDemand<Window>& window,
    std::type_identity_t<std::function<std::unique_ptr<Window>()>> build) {
    window.attach(m_ui, id, std::move(build));
    created<Window>();
}

template <typename Window>
void ProgramWindows::destroy(std::unique_ptr<Window>& window) {
    window.reset();
    if (m_observers.destroyed) {
        m_observers.destroyed(Window::staticMetaObject.className());
    }
}

template <typename Window>
void ProgramWindows::destroy(OnDemand<Window>& window) {
    window.destroy();
    if (m_observers.destroyed) {
        m_observers.destroyed(Window::staticMetaObject.className());
    }
}

template <typename Window>
ProgramWindows::OnDemand<Window>::~OnDemand() {
    destroy();
}

template <typename Window>
void ProgramWindows::OnDemand<Window>::attach(QtUi& ui, WindowId id,
                                              std::function<std::unique_ptr<Window>()> build) {
    m_ui = &ui;
    m_id = id;
    m_build = [&ui, id, build = std::move(build)] {
        std::unique_ptr<Window> built = build();
        ui.attach(id, *built);
        return built;
    };
    ui.attachOnDemand(id, [this] { get(); });
}

template <typename Window>
void ProgramWindows::OnDemand<Window>::destroy() {
    if (m_ui != nullptr) {
        m_ui->detach(m_id);
        m_ui = nullptr;
    }
    m_window.reset();
}

}  // namespace mivo

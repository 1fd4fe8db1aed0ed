#include "windows/AdvancedOptions.h"

#include "launch/CommandLineWords.h"

namespace mivo {

namespace {

constexpr FileDialog kOpenDialog1{"Please choose an email client", "Executable files", true};
constexpr FileDialog kOpenDialog2{"Please Select a program to process the email",
                                  "Executable files", true};
constexpr FileDialog kOpenDialog3{"Please choose an media file to be played when new mail arrives.",
                                  "Media Player Files (all types)", false};

// Two radio buttons that exclude each other: selecting one clears the other,
// and only a button that becomes selected runs its click handler.
void makeExclusive(CheckField& first, CheckField& second) {
    first.onChange([&first, &second] {
        if (first.get()) {
            second.set(false);
        }
    });
    second.onChange([&first, &second] {
        if (second.get()) {
            first.set(false);
        }
    });
}

void onSelected(CheckField& button, CheckField::Listener click) {
    button.onChange([&button, click = std::move(click)] {
        if (button.get()) {
            click();
        }
    });
}

}  // namespace

AdvancedOptions::AdvancedOptions(AdvancedOptionsModel& dialog, MainWindowModel& window,
                                 LogViewer& logViewer, TaskbarPresence& presence, UiPort& ui)
    : m_dialog(dialog), m_window(window), m_logViewer(logViewer), m_presence(presence), m_ui(ui) {
    makeExclusive(m_dialog.ShowAll, m_dialog.UseRule);
    makeExclusive(m_dialog.NewMLevelNumber, m_dialog.RadioButton1);
    // Choosing a level of detail turns the rules off, also when the fill
    // chooses it.
    onSelected(m_dialog.NewMLevelNumber, [this] { m_dialog.ShowAll.set(true); });
    onSelected(m_dialog.RadioButton1, [this] { m_dialog.ShowAll.set(true); });
}

void AdvancedOptions::toggle() {
    if (m_window.advancedOptionsOpen) {
        hideAndApply();
    } else {
        fillAndShow();
    }
    m_presence.applyPresence();
}

void AdvancedOptions::toggleOptionsArea() {
    if (m_window.Width.get() < layout::kWideWidth) {
        openOptionsArea();
    } else {
        m_window.Width.set(layout::kNarrowWidth);
        m_window.UserOptionsCaption.set("Open Options ->");
    }
}

void AdvancedOptions::openOptionsArea() {
    m_window.Width.set(layout::kWideWidth);
    m_window.UserOptionsCaption.set("Close Options <-");
}

void AdvancedOptions::fillAndShow() {
    fill();
    const bool alreadyShown = m_ui.isWindowVisible(WindowId::AdvancedOptions);
    m_ui.showWindow(WindowId::AdvancedOptions);
    // Showing a window that is on screen is no show: Cancel's refill leaves
    // an empty TEMPDIR empty, so Cancel keeps the main window's as it was.
    if (!alreadyShown) {
        FormShow();
    }
}

void AdvancedOptions::fill() {
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        m_dialog.Editn[rule].set(m_window.En[rule].get());
        m_dialog.SelectBoxn[rule].itemIndex.set(m_window.SBn[rule].itemIndex.get());
    }
    // Rules off leaves "Ignore rules" as it is, selected or not.
    m_dialog.UseRule.set(m_window.UseRule);
    m_dialog.StartMinimized.set(m_window.StartMinimized.get());
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        m_dialog.Urgentn[rule].set(m_window.Urgentn[rule].get());
    }
    m_window.Button5Caption.set("Close Adv.Opt.");
    m_window.advancedOptionsOpen = true;
    m_dialog.NoticeAll.set(m_window.NoticeAll);
    if (m_window.NewMLevelNumber.get()) {
        m_dialog.RadioButton1.set(false);
        m_dialog.NewMLevelNumber.set(true);
    } else {
        m_dialog.NewMLevelNumber.set(false);
        m_dialog.RadioButton1.set(true);
    }
    m_dialog.Taskbarbutton.set(m_window.taskbarButton);
    m_dialog.Taskbartray.set(m_window.trayIcon);
    m_dialog.EmailProgram.set(m_window.EmailProgram.get());
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        m_dialog.DLn[rule].set(m_window.DLn[rule].get());
        m_dialog.DELn[rule].set(m_window.DELn[rule].get());
        m_dialog.RunFilen[rule].set(m_window.RunFilen[rule].get());
    }
    m_dialog.TEMPDIR.set(m_window.TEMPDIR.get());
    m_dialog.Media.set(m_window.Media.get());
}

void AdvancedOptions::FormShow() {
    // An empty choice means the user's own download folder: shown as it,
    // never as the root, where a download would end up if taken as typed.
    if (m_dialog.TEMPDIR.get().empty()) {
        m_dialog.TEMPDIR.set(m_window.defaultTempDir);
    }
}

void AdvancedOptions::hideAndApply() {
    m_ui.hideWindow(WindowId::AdvancedOptions);
    apply();
}

void AdvancedOptions::apply() {
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        cleanUpRule(rule);
    }
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        m_window.En[rule].set(m_dialog.Editn[rule].get());
    }
    m_window.UseRule = m_dialog.UseRule.get();
    m_window.StartMinimized.set(m_dialog.StartMinimized.get());
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        m_window.SBn[rule].itemIndex.set(m_dialog.SelectBoxn[rule].itemIndex.get());
    }
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        m_window.Urgentn[rule].set(m_dialog.Urgentn[rule].get());
    }
    m_window.advancedOptionsOpen = false;
    m_window.NoticeAll = m_dialog.NoticeAll.get();
    m_window.Button5Caption.set(" Adv. Options");
    if (m_dialog.NewMLevelNumber.get()) {
        m_window.NewMLevelNumber.set(true);
    }
    if (m_dialog.RadioButton1.get()) {
        m_window.NewMLevelNumber.set(false);
    }
    m_window.taskbarButton = m_dialog.Taskbarbutton.get();
    m_window.trayIcon = m_dialog.Taskbartray.get();
    m_window.EmailProgram.set(m_dialog.EmailProgram.get());
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        m_window.DLn[rule].set(m_dialog.DLn[rule].get());
        m_window.DELn[rule].set(m_dialog.DELn[rule].get());
        m_window.RunFilen[rule].set(m_dialog.RunFilen[rule].get());
    }
    m_window.TEMPDIR.set(m_dialog.TEMPDIR.get());
    m_window.Media.set(m_dialog.Media.get());
}

// A rule without a text or without a header field is no rule at all.
void AdvancedOptions::cleanUpRule(int rule) {
    TextField& text = m_dialog.Editn[rule];
    Field<int>& field = m_dialog.SelectBoxn[rule].itemIndex;
    if (text.get().empty() || field.get() <= 0) {
        field.set(0);
        text.set("");
    }
}

void AdvancedOptions::OKClick() {
    toggle();
}

void AdvancedOptions::CancelClick() {
    // The refill discards the edits, but a detail button it selects also
    // selects "Ignore rules", and the toggle takes that back.
    fillAndShow();
    toggle();
}

void AdvancedOptions::FormClose() {
    toggle();
}

void AdvancedOptions::SelectBoxClick(int rule) {
    if (m_dialog.SelectBoxn[rule].itemIndex.get() > 0) {
        m_dialog.UseRule.set(true);
    }
}

void AdvancedOptions::BrowseClick() {
    browse(m_dialog.EmailProgram, kOpenDialog1, Chosen::Program);
}

void AdvancedOptions::BrowseRuleClick(int rule) {
    browse(m_dialog.RunFilen[rule], kOpenDialog2, Chosen::Program);
}

void AdvancedOptions::Browse5Click() {
    browse(m_dialog.Media, kOpenDialog3, Chosen::File);
}

// A program field holds a command line, where a path with blanks has to be
// quoted to stay one name; the dialog deals in plain paths.
void AdvancedOptions::browse(TextField& field, const FileDialog& dialog, Chosen chosen) {
    if (m_fileChooser == nullptr) {
        return;
    }
    const std::string start = chosen == Chosen::Program ? programPathOf(field.get()) : field.get();
    if (std::optional<std::string> name = m_fileChooser->chooseFile(dialog, start)) {
        field.set(chosen == Chosen::Program ? quotedProgramPath(std::move(*name))
                                            : std::move(*name));
    }
}

void AdvancedOptions::Button1Click() {
    m_logViewer.ShowLog();
}

void AdvancedOptions::Button2Click() {
    m_ui.showWindow(WindowId::DirectoryChooser);
}

}  // namespace mivo

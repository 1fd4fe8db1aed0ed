#pragma once
// The behaviour of the advanced options dialog TAdvancedOptions: it edits a
// copy of the main window's rules and display options, filled when it opens
// and taken back when it closes, and keeps its radio buttons consistent.
// It also holds the main window's options area, the account-1 area that
// the window widens to show.

#include "fields/Field.h"
#include "model/MainWindowModel.h"
#include "ports/FileChooserPort.h"
#include "ports/UiPort.h"
#include "windows/AdvancedOptionsModel.h"
#include "windows/LogViewer.h"
#include "windows/TaskbarPresence.h"

namespace mivo {

class AdvancedOptions {
public:
    AdvancedOptions(AdvancedOptionsModel& dialog, MainWindowModel& window, LogViewer& logViewer,
                    TaskbarPresence& presence, UiPort& ui);
    AdvancedOptions(const AdvancedOptions&) = delete;
    AdvancedOptions& operator=(const AdvancedOptions&) = delete;

    // The file dialogs of the Browse buttons, which only the desktop has;
    // without them (nullptr) the buttons do nothing.
    void attachFileChooser(FileChooserPort* chooser) { m_fileChooser = chooser; }

    // The main window's Adv. Options toggle: opens the dialog, or closes it
    // taking its edits back, then shows the taskbar button and the tray icon
    // as the options now say.
    void toggle();

    // The main window's "Open Options ->" / "Close Options <-" button: narrows
    // the window to its check area or widens it to show the account-1 area.
    void toggleOptionsArea();
    void openOptionsArea();

    // OK, Cancel and the close box all end in the toggle.
    void OKClick();
    void CancelClick();
    void FormClose();

    // The user picked an entry in SelectBox1..SelectBox3 (`rule` 1..3); the
    // list's change and click both run this, a pick from code does not.
    void SelectBoxClick(int rule);

    void BrowseClick();              // EmailProgram
    void BrowseRuleClick(int rule);  // Browse1..Browse3: RunFile1..RunFile3
    void Browse5Click();             // Media
    void Button1Click();             // "Show Log"
    void Button2Click();             // the temporary directory's chooser

private:
    // The two halves of the toggle.
    void fillAndShow();
    void hideAndApply();
    void fill();
    void FormShow();
    void apply();
    void cleanUpRule(int rule);
    enum class Chosen { Program, File };
    void browse(TextField& field, const FileDialog& dialog, Chosen chosen);

    AdvancedOptionsModel& m_dialog;
    MainWindowModel& m_window;
    LogViewer& m_logViewer;
    TaskbarPresence& m_presence;
    UiPort& m_ui;
    FileChooserPort* m_fileChooser = nullptr;
};

}  // namespace mivo

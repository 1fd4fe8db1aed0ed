#pragma once
// The behaviour of the advanced options dialog TAdvancedOptions: it edits a
// copy of the main window's rules and display options, filled when it opens
// and taken back when it closes, and keeps its radio buttons consistent.

#include "fields/Field.h"
#include "model/MainWindowModel.h"
#include "ports/FileChooserPort.h"
#include "ports/UiPort.h"
#include "windows/AdvancedOptionsModel.h"
#include "windows/LogViewer.h"

namespace mivo {

class MainWindow;

class AdvancedOptions {
public:
    AdvancedOptions(AdvancedOptionsModel& dialog, MainWindowModel& window, LogViewer& logViewer,
                    MainWindow& mainWindow, UiPort& ui);
    AdvancedOptions(const AdvancedOptions&) = delete;
    AdvancedOptions& operator=(const AdvancedOptions&) = delete;

    // The file dialogs of the Browse buttons, which only the desktop has;
    // without them (nullptr) the buttons do nothing.
    void attachFileChooser(FileChooserPort* chooser) { m_fileChooser = chooser; }

    // The two halves of the main window's Adv. Options toggle.
    void fillAndShow();
    void hideAndApply();

    // OK, Cancel and the close box all end in the main window's toggle.
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
    void fill();
    void FormShow();
    void apply();
    void cleanUpRule(int rule);
    enum class Chosen { Program, File };
    void browse(TextField& field, const FileDialog& dialog, Chosen chosen);

    AdvancedOptionsModel& m_dialog;
    MainWindowModel& m_window;
    LogViewer& m_logViewer;
    MainWindow& m_mainWindow;
    UiPort& m_ui;
    FileChooserPort* m_fileChooser = nullptr;
};

}  // namespace mivo

#pragma once
// The behaviour of the directory chooser TForm2: OK hands the current folder
// to the advanced options dialog as its temporary directory.

#include "ports/UiPort.h"
#include "windows/AdvancedOptionsModel.h"
#include "windows/DirectoryChooserModel.h"

namespace mivo {

class DirectoryChooser {
public:
    DirectoryChooser(DirectoryChooserModel& model, AdvancedOptionsModel& advancedOptions,
                     UiPort& ui)
        : m_model(model), m_advancedOptions(advancedOptions), m_ui(ui) {}

    void OKClick();
    void CancelClick() { m_ui.hideWindow(WindowId::DirectoryChooser); }

private:
    DirectoryChooserModel& m_model;
    AdvancedOptionsModel& m_advancedOptions;
    UiPort& m_ui;
};

}  // namespace mivo

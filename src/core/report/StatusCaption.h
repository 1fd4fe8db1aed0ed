#pragma once
// The status caption: what the main window's caption and the application
// title say about the check, always the same text in both.

#include <string>

#include "model/MainWindowModel.h"
#include "ports/UiPort.h"

namespace mivo {

class StatusCaption {
public:
    StatusCaption(MainWindowModel& window, UiPort& ui) : m_window(window), m_ui(ui) {}

    // Sets the window caption and then the application title to the same
    // text; the title is set again even when the text has not changed.
    void set(const std::string& text);

private:
    MainWindowModel& m_window;
    UiPort& m_ui;
};

}  // namespace mivo

#pragma once
// The program's life from its windows' creation to its end: build the eight
// windows, run the message loop, which first shows the main window, and end.

#include "ProgramWindows.h"

namespace mivo {

class Application;
class QtUi;

// Returns the exit code: 0 after a normal end and after a failed start-up,
// which is reported in the error box first.
int runProgram(Application& app, Program& program, QtUi& ui,
               ProgramWindows::Observers observers = {});

}  // namespace mivo

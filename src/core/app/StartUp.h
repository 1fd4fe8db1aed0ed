#pragma once
// The start-up decision, run as the last window's creation step: it brings
// the program into service once every window exists.

namespace mivo {

class Program;

// Starts the socket layer and puts the check interval in force. The
// settings load and the uninstall mode will take their place here.
void StartUpDecision(Program& program);

}  // namespace mivo

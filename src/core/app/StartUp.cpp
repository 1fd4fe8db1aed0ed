#include "app/StartUp.h"

#include "app/Program.h"

namespace mivo {

void StartUpDecision(Program& program) {
    program.transport.TcpInit();
    program.mainWindow.Edit1Enter();
}

}  // namespace mivo

#pragma once
// Every port of a Program as a fake, for the tests and fuzzers that build a
// whole program: derive from it and build the Program on ports().

#include "FakePorts.h"
#include "FakeSocketPort.h"
#include "app/Program.h"

namespace mivo::test {

struct FakeProgramPorts {
    FakeUi ui;
    FakeClock clock;
    FakeTimers timers;
    FakeSocketPort sockets;
    FakeSettings settings;
    FakeRandom random;
    FakeProcesses processes;
    FakeInstallation installation;
    FakeDownloads downloads;

    Ports ports() {
        return Ports{ui,     clock,     timers,       sockets,  settings,
                     random, processes, installation, downloads};
    }
};

}  // namespace mivo::test

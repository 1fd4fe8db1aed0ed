#include "VirtualDesktop.h"

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

namespace mivo::test {

namespace {

bool onPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::istringstream directories(path == nullptr ? "" : path);
    for (std::string directory; std::getline(directories, directory, ':');) {
        if (!directory.empty() && access((directory + "/" + program).c_str(), X_OK) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::string VirtualDesktop::missingPrograms() {
    std::string missing;
    for (const char* program : {"Xvfb", "trayer", "xdotool"}) {
        if (!onPath(program)) {
            missing += missing.empty() ? program : std::string(", ") + program;
        }
    }
    return missing;
}

VirtualDesktop::VirtualDesktop() {
    // Xvfb picks a free display itself and writes its number to the pipe.
    m_server = std::make_unique<ChildProcess>(
        std::vector<std::string>{"Xvfb", "-displayfd", "1", "-nolisten", "tcp", "-screen", "0",
                                 "640x480x24"},
        ChildOptions{"", "/dev/null", {}, false});
    const auto deadline = ChildProcess::Clock::now() + std::chrono::seconds(20);
    m_server->readUntil(
        [this] { return m_server->standardOutput().find('\n') != std::string::npos; }, deadline);
    const std::string& number = m_server->standardOutput();
    if (number.find('\n') == std::string::npos) {
        throw std::runtime_error("Xvfb gave no display number");
    }
    // Built in place: copying ":" into the string, or putting it in front of
    // a temporary one, is a false -Wrestrict for GCC 12 at -O2 and above.
    m_display.assign(1, ':');
    m_display.append(number, 0, number.find('\n'));
    setenv("DISPLAY", m_display.c_str(), 1);
    // Without a session bus Qt puts its icon in the X notification area,
    // which is what the tray host offers.
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
    // A small tray at the top right; it takes the notification area as it
    // comes up, which the tests wait for.
    m_trayHost = std::make_unique<ChildProcess>(
        std::vector<std::string>{"trayer", "--edge", "top", "--align", "right", "--width", "10",
                                 "--height", "32"},
        ChildOptions{"/dev/null", "/dev/null", {{"DISPLAY", m_display}}, false});
}

std::string& trayTestsUnavailable() {
    static std::string reason;
    return reason;
}

}  // namespace mivo::test

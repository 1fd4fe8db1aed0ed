#pragma once
// A private X display with a notification area, for the tests that need a
// real tray: Xvfb on a free display and trayer as the tray host. Where
// either program is missing the tests say so and skip.

#include <memory>
#include <string>

#include "ChildProcess.h"

namespace mivo::test {

class VirtualDesktop {
public:
    // The programs the desktop needs that are not on PATH, or empty.
    static std::string missingPrograms();

    // Starts the display and the tray host and points this process at the
    // display. Throws std::runtime_error when either does not come up.
    VirtualDesktop();
    VirtualDesktop(const VirtualDesktop&) = delete;
    VirtualDesktop& operator=(const VirtualDesktop&) = delete;

private:
    std::unique_ptr<ChildProcess> m_server;
    std::unique_ptr<ChildProcess> m_trayHost;
    std::string m_display;
};

// Why the tray tests cannot run here, or empty when they can.
std::string& trayTestsUnavailable();

}  // namespace mivo::test

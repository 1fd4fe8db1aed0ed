#include "EventLoopWait.h"

#include <QEventLoop>
#include <QTimer>

namespace mivo::test {

bool runEventLoopUntil(const std::function<bool()>& condition, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        // Sleeps in the loop until something arrives, looking again every 20 ms.
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

}  // namespace mivo::test

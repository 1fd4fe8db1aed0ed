#pragma once
// Runs the Qt event loop until a condition holds. The bound only keeps a
// broken test from hanging; tests never assert on how long anything took.

#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <functional>

namespace mivo::test {

inline bool runEventLoopUntil(const std::function<bool()>& condition,
                              std::chrono::seconds limit = std::chrono::seconds(20)) {
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

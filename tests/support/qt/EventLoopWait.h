#pragma once
// Runs the Qt event loop until a condition holds. The bound only keeps a
// broken test from hanging; tests never assert on how long anything took.

#include <chrono>
#include <functional>

namespace mivo::test {

bool runEventLoopUntil(const std::function<bool()>& condition,
                       std::chrono::seconds limit = std::chrono::seconds(20));

}  // namespace mivo::test

#pragma once
// A TCP proxy on 127.0.0.1 that holds every byte back a fixed time in each
// direction before passing it on, so that a client on loopback meets the
// round trip of a real link: 10 ms each way is a 20 ms round trip. It adds
// no bandwidth limit and no loss; only the wait.

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "LoopbackPort.h"

namespace mivo::bench {

class DelayLineProxy {
public:
    // Accepts connections on a free loopback port and connects each to
    // 127.0.0.1:`targetPort`, on a thread of its own, until destroyed.
    DelayLineProxy(int targetPort, std::chrono::milliseconds delayEachWay);
    ~DelayLineProxy();
    DelayLineProxy(const DelayLineProxy&) = delete;
    DelayLineProxy& operator=(const DelayLineProxy&) = delete;

    std::string hostAndPort() const { return m_listener.hostAndPort(); }
    int port() const { return m_listener.port(); }

private:
    void run();

    test::LoopbackListener m_listener;
    int m_targetPort;
    std::chrono::milliseconds m_delay;
    std::atomic<bool> m_stopping{false};
    std::thread m_thread;
};

}  // namespace mivo::bench

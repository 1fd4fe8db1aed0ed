#pragma once
// SIGINT, SIGTERM and SIGHUP as events of the loop: a run told to stop ends
// as the desktop program does when its session ends, saving what it keeps,
// instead of dying in the middle.

#include <QSocketNotifier>
#include <array>
#include <functional>

namespace mivo {

class TerminationSignals {
public:
    // From now on those signals no longer end the process; `received` runs
    // on the event loop with each one's number. One instance at a time.
    explicit TerminationSignals(std::function<void(int signal)> received);
    // Gives the signals their default action back.
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

private:
    void readPending();

    // The handler may only write: it writes the number to this pipe, and the
    // loop reads it from the other end.
    std::array<int, 2> m_pipe;
    QSocketNotifier m_notifier;
    std::function<void(int)> m_received;
};

}  // namespace mivo

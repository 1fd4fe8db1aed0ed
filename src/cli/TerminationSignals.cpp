#include "TerminationSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <stdexcept>

namespace mivo {

namespace {

constexpr std::array<int, 3> kSignals = {SIGINT, SIGTERM, SIGHUP};

// The handler's only way to the loop; a plain int is all it may read.
int g_signalPipeWriteEnd = -1;

extern "C" void forwardSignal(int signal) {
    const int savedErrno = errno;
    const auto number = static_cast<unsigned char>(signal);
    // A full pipe already holds a signal the loop has yet to see.
    [[maybe_unused]] const ssize_t written = ::write(g_signalPipeWriteEnd, &number, 1);
    errno = savedErrno;
}

std::array<int, 2> nonBlockingPipe() {
    std::array<int, 2> ends{-1, -1};
    if (::pipe2(ends.data(), O_NONBLOCK | O_CLOEXEC) != 0) {
        throw std::runtime_error("cannot create the signal pipe");
    }
    return ends;
}

void setAction(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals) {
        ::sigaction(signal, &action, nullptr);
    }
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void(int signal)> received)
    : m_pipe(nonBlockingPipe()),
      m_notifier(m_pipe[0], QSocketNotifier::Read),
      m_received(std::move(received)) {
    g_signalPipeWriteEnd = m_pipe[1];
    QObject::connect(&m_notifier, &QSocketNotifier::activated, &m_notifier,
                     [this] { readPending(); });
    setAction(forwardSignal);
}

TerminationSignals::~TerminationSignals() {
    setAction(SIG_DFL);
    g_signalPipeWriteEnd = -1;
    m_notifier.setEnabled(false);
    ::close(m_pipe[0]);
    ::close(m_pipe[1]);
}

void TerminationSignals::readPending() {
    unsigned char number = 0;
    while (::read(m_pipe[0], &number, 1) == 1) {
        m_received(number);
    }
}

}  // namespace mivo

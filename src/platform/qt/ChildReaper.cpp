#include "qt/ChildReaper.h"

#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace mivo {

namespace {

constexpr int kPollMilliseconds = 1000;

// Debian 12's <sys/pidfd.h> declares pidfd_open without C linkage, so the
// call goes to the kernel directly. -1 where the kernel has none (before 5.3).
int openProcessDescriptor(pid_t child) {
    return static_cast<int>(::syscall(SYS_pidfd_open, child, 0));
}

// Whether `child` has ended; if so it is collected now.
bool collectIfEnded(pid_t child) {
    for (;;) {
        int status = 0;
        const pid_t result = ::waitpid(child, &status, WNOHANG);
        if (result == child) {
            return true;
        }
        if (result == 0) {
            return false;
        }
        if (errno != EINTR) {
            // ECHILD: someone else collected it; it is no longer ours to watch.
            return true;
        }
    }
}

}  // namespace

ChildReaper::ChildReaper(ExitWatch preferred) : m_preferred(preferred) {
    m_pollTimer.setInterval(kPollMilliseconds);
    QObject::connect(&m_pollTimer, &QTimer::timeout, [this] { pollEnded(); });
}

ChildReaper::~ChildReaper() {
    for (const auto& watched : m_descriptorWatches) {
        watched->notifier.reset();
        if (watched->descriptor >= 0) {
            ::close(watched->descriptor);
        }
    }
}

void ChildReaper::watch(pid_t child) {
    // Each start is also a moment to tidy up, so nothing grows with the
    // number of programs started.
    forgetCollected();
    pollEnded();
    const int descriptor =
        m_preferred == ExitWatch::ProcessDescriptor ? openProcessDescriptor(child) : -1;
    if (descriptor < 0) {
        m_polled.push_back(child);
        if (!m_pollTimer.isActive()) {
            m_pollTimer.start();
        }
        return;
    }
    auto watched = std::make_unique<DescriptorWatch>();
    watched->pid = child;
    watched->descriptor = descriptor;
    watched->notifier = std::make_unique<QSocketNotifier>(descriptor, QSocketNotifier::Read);
    DescriptorWatch& entry = *watched;
    QObject::connect(watched->notifier.get(), &QSocketNotifier::activated,
                     [this, &entry] { collect(entry); });
    m_descriptorWatches.push_back(std::move(watched));
}

void ChildReaper::collect(DescriptorWatch& watched) {
    if (watched.collected || !collectIfEnded(watched.pid)) {
        return;
    }
    // The notifier is inside its own signal: it is switched off here and
    // removed at the next start, not deleted under its own feet.
    watched.collected = true;
    watched.notifier->setEnabled(false);
    ::close(watched.descriptor);
    watched.descriptor = -1;
}

void ChildReaper::pollEnded() {
    std::erase_if(m_polled, collectIfEnded);
    if (m_polled.empty()) {
        m_pollTimer.stop();
    }
}

void ChildReaper::forgetCollected() {
    std::erase_if(m_descriptorWatches, [](const auto& watched) { return watched->collected; });
}

std::size_t ChildReaper::outstanding() const {
    const auto watched = std::count_if(m_descriptorWatches.begin(), m_descriptorWatches.end(),
                                       [](const auto& entry) { return !entry->collected; });
    return static_cast<std::size_t>(watched) + m_polled.size();
}

}  // namespace mivo

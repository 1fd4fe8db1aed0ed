#pragma once
// Collects the end of every program this process started and does not wait
// for, so that none lingers as a zombie. Only those children are waited for,
// each by its own id: other waits in the process see what they always saw.
// Nothing wakes the program while no child is outstanding.

#include <sys/types.h>

#include <QSocketNotifier>
#include <QTimer>
#include <cstddef>
#include <memory>
#include <vector>

namespace mivo {

class ChildReaper {
public:
    enum class ExitWatch {
        // A process descriptor (pidfd) per child, readable once it ended: no
        // signal handler and no timer.
        ProcessDescriptor,
        // A timer that looks every second, and only while children are
        // outstanding; also where a child goes when no descriptor can be had.
        Polling,
    };

    explicit ChildReaper(ExitWatch preferred = ExitWatch::ProcessDescriptor);
    // Children still running are left to run; they are no longer ours to
    // collect once this process has ended.
    ~ChildReaper();
    ChildReaper(const ChildReaper&) = delete;
    ChildReaper& operator=(const ChildReaper&) = delete;

    // `child` is a process this one started and will not wait for itself.
    void watch(pid_t child);

    // Children started and not yet collected.
    std::size_t outstanding() const;
    // Whether the polling timer is running.
    bool isPolling() const { return m_pollTimer.isActive(); }

private:
    struct DescriptorWatch {
        pid_t pid = -1;
        int descriptor = -1;
        std::unique_ptr<QSocketNotifier> notifier;
        bool collected = false;
    };

    void collect(DescriptorWatch& watched);
    void pollEnded();
    void forgetCollected();

    ExitWatch m_preferred;
    std::vector<std::unique_ptr<DescriptorWatch>> m_descriptorWatches;
    std::vector<pid_t> m_polled;
    QTimer m_pollTimer;
};

}  // namespace mivo

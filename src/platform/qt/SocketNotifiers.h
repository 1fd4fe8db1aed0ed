#pragma once
// Watches one file descriptor for readability and writability on Qt's event
// loop; each direction is switched on and off on its own.

#include <functional>

class QObject;
class QSocketNotifier;

namespace mivo {

class SocketNotifiers {
public:
    // The callbacks run on the owner's thread from the event loop. Both
    // directions start switched off.
    SocketNotifiers(int fd, QObject& owner, std::function<void()> onReadable,
                    std::function<void()> onWritable);
    // Safe from inside a callback: the notifiers are switched off at once and
    // deleted once control is back in the event loop.
    ~SocketNotifiers();
    SocketNotifiers(const SocketNotifiers&) = delete;
    SocketNotifiers& operator=(const SocketNotifiers&) = delete;

    void watchReadable(bool on);
    void watchWritable(bool on);

private:
    QSocketNotifier* m_read;
    QSocketNotifier* m_write;
};

}  // namespace mivo

#include "qt/SocketNotifiers.h"

#include <QObject>
#include <QSocketNotifier>
#include <utility>

namespace mivo {

namespace {

// Owned by `owner` as well, so a notifier whose deferred deletion never ran
// goes with it.
QSocketNotifier* makeNotifier(int fd, QSocketNotifier::Type type, QObject& owner,
                              std::function<void()> callback) {
    auto* notifier = new QSocketNotifier(fd, type, &owner);  // owned by `owner`
    notifier->setEnabled(false);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier,
                     [callback = std::move(callback)] { callback(); });
    return notifier;
}

}  // namespace

SocketNotifiers::SocketNotifiers(int fd, QObject& owner, std::function<void()> onReadable,
                                 std::function<void()> onWritable)
    : m_read(makeNotifier(fd, QSocketNotifier::Read, owner, std::move(onReadable))),
      m_write(makeNotifier(fd, QSocketNotifier::Write, owner, std::move(onWritable))) {}

SocketNotifiers::~SocketNotifiers() {
    for (QSocketNotifier* notifier : {m_read, m_write}) {
        notifier->setEnabled(false);
        notifier->deleteLater();
    }
}

void SocketNotifiers::watchReadable(bool on) {
    if (m_read->isEnabled() != on) {
        m_read->setEnabled(on);
    }
}

void SocketNotifiers::watchWritable(bool on) {
    if (m_write->isEnabled() != on) {
        m_write->setEnabled(on);
    }
}

}  // namespace mivo

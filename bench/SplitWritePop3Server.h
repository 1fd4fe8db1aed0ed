#pragma once
// A POP3 server on 127.0.0.1 that answers TOP the way some real servers do:
// the status line, the headers and the closing "." each in a write of its
// own, with Nagle's algorithm left on. A client that delays its
// acknowledgement of the status line makes the server hold back the rest of
// the answer until the acknowledgement timer runs out, once per message.

#include <atomic>
#include <string>
#include <thread>

#include "FileDescriptor.h"

namespace mivo::bench {

class SplitWritePop3Server {
public:
    // Listens on a free loopback port and serves, on a thread of its own,
    // one connection after another until it is destroyed. The one mailbox
    // holds `messages` messages, From "Sender N <sN@example.org>", Subject
    // "Message N", as the Dovecot benchmark delivers them.
    SplitWritePop3Server(std::string user, std::string password, int messages);
    ~SplitWritePop3Server();
    SplitWritePop3Server(const SplitWritePop3Server&) = delete;
    SplitWritePop3Server& operator=(const SplitWritePop3Server&) = delete;

    int port() const { return m_port; }
    std::string hostAndPort() const;

private:
    struct Conversation {
        std::string user;
        bool loggedIn = false;
        bool quit = false;
    };

    void run();
    void serve(int fd) const;
    // False when the connection broke.
    bool answer(int fd, const std::string& command, Conversation& conversation) const;
    bool answerTop(int fd, int number) const;

    std::string m_user;
    std::string m_password;
    int m_messages;
    mivo::test::FileDescriptor m_listener;
    int m_port = 0;
    std::atomic<bool> m_stopping{false};
    std::thread m_thread;
};

}  // namespace mivo::bench

#include "SplitWritePop3Server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace mivo::bench {

namespace {

using test::writeAll;

constexpr int kPollSlice = 100;  // ms: how often a wait looks at the stop flag
constexpr std::size_t kCommandLimit = 1000;

// The headers as the Dovecot benchmark's deliveries have them, CR LF each,
// and the empty line that ends them.
std::string headersOf(int number) {
    const std::string n = std::to_string(number);
    return "From: Sender " + n + " <s" + n + "@example.org>\r\nTo: bench\r\nSubject: Message " + n +
           "\r\nDate: Thu, 01 Jan 2026 09:00:00 +0000\r\n\r\n";
}

bool startsWithWord(const std::string& command, const char* word) {
    const std::size_t size = std::strlen(word);
    if (command.size() < size || ::strncasecmp(command.c_str(), word, size) != 0) {
        return false;
    }
    return command.size() == size || command[size] == ' ';
}

std::string argumentOf(const std::string& command) {
    const std::size_t blank = command.find(' ');
    return blank == std::string::npos ? std::string{} : command.substr(blank + 1);
}

}  // namespace

SplitWritePop3Server::SplitWritePop3Server(std::string user, std::string password, int messages)
    : m_user(std::move(user)),
      m_password(std::move(password)),
      m_messages(messages),
      m_listener(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    if (!m_listener.isOpen()) {
        throw std::runtime_error("socket: " + std::string(std::strerror(errno)));
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (::bind(m_listener.get(), reinterpret_cast<const sockaddr*>(&address), size) != 0 ||
        ::listen(m_listener.get(), 16) != 0 ||
        ::getsockname(m_listener.get(), reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        throw std::runtime_error("listen on loopback: " + std::string(std::strerror(errno)));
    }
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { run(); });
}

SplitWritePop3Server::~SplitWritePop3Server() {
    m_stopping = true;
    m_thread.join();
}

std::string SplitWritePop3Server::hostAndPort() const {
    return "127.0.0.1:" + std::to_string(m_port);
}

void SplitWritePop3Server::run() {
    while (!m_stopping) {
        pollfd waiting{m_listener.get(), POLLIN, 0};
        if (::poll(&waiting, 1, kPollSlice) <= 0) {
            continue;
        }
        mivo::test::FileDescriptor connection(
            ::accept4(m_listener.get(), nullptr, nullptr, SOCK_CLOEXEC));
        if (!connection.isOpen()) {
            continue;
        }
        // Nagle stays on (the default, said out loud): that is the point.
        const int off = 0;
        ::setsockopt(connection.get(), IPPROTO_TCP, TCP_NODELAY, &off, sizeof off);
        serve(connection.get());
    }
}

void SplitWritePop3Server::serve(int fd) const {
    if (!writeAll(fd, "+OK split-write server ready.\r\n")) {
        return;
    }
    Conversation conversation;
    std::string pending;
    while (!m_stopping && !conversation.quit) {
        const std::size_t end = pending.find("\r\n");
        if (end != std::string::npos) {
            const std::string command = pending.substr(0, end);
            pending.erase(0, end + 2);
            if (!answer(fd, command, conversation)) {
                return;
            }
            continue;
        }
        if (pending.size() > kCommandLimit) {
            return;
        }
        pollfd waiting{fd, POLLIN, 0};
        if (::poll(&waiting, 1, kPollSlice) <= 0) {
            continue;
        }
        char chunk[4096];
        const ssize_t count = ::recv(fd, chunk, sizeof chunk, 0);
        if (count <= 0) {
            return;
        }
        pending.append(chunk, static_cast<std::size_t>(count));
    }
}

bool SplitWritePop3Server::answer(int fd, const std::string& command,
                                  Conversation& conversation) const {
    if (startsWithWord(command, "QUIT")) {
        conversation.quit = true;
        return writeAll(fd, "+OK Logging out.\r\n");
    }
    if (!conversation.loggedIn) {
        if (startsWithWord(command, "USER")) {
            conversation.user = argumentOf(command);
            return writeAll(fd, "+OK\r\n");
        }
        if (startsWithWord(command, "PASS") && conversation.user == m_user &&
            argumentOf(command) == m_password) {
            conversation.loggedIn = true;
            return writeAll(fd, "+OK Logged in.\r\n");
        }
        return writeAll(fd, "-ERR Authentication failed.\r\n");
    }
    if (startsWithWord(command, "STAT")) {
        const std::size_t octets = headersOf(1).size() * static_cast<std::size_t>(m_messages);
        return writeAll(
            fd, "+OK " + std::to_string(m_messages) + " " + std::to_string(octets) + "\r\n");
    }
    if (startsWithWord(command, "TOP")) {
        const std::string argument = argumentOf(command);
        int number = 0;
        const auto [rest, error] =
            std::from_chars(argument.data(), argument.data() + argument.size(), number);
        if (error == std::errc{} && number >= 1 && number <= m_messages && *rest == ' ') {
            return answerTop(fd, number);
        }
        return writeAll(fd, "-ERR There's no message " + argument + ".\r\n");
    }
    return writeAll(fd, "-ERR Unknown command.\r\n");
}

bool SplitWritePop3Server::answerTop(int fd, int number) const {
    // Three writes: with Nagle on, the second waits in the kernel until the
    // client acknowledges the first.
    return writeAll(fd, "+OK\r\n") && writeAll(fd, headersOf(number)) && writeAll(fd, ".\r\n");
}

}  // namespace mivo::bench

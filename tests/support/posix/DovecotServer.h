#pragma once
// A private Dovecot POP3 server on a free loopback port, with its own config,
// users and Maildir mailboxes in a temporary directory that it removes again.

#include <sys/types.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ChildProcess.h"

namespace mivo::test {

class DovecotServer {
public:
    // The server program, or an empty string when it is not installed.
    static std::string programPath();

    // Creates the directory only; nothing runs before start().
    DovecotServer();
    DovecotServer(const DovecotServer&) = delete;
    DovecotServer& operator=(const DovecotServer&) = delete;
    ~DovecotServer();

    // Users are added before start(): Dovecot looks at its password file at
    // most once a second, so a user added later may be refused for a while.
    void addUser(const std::string& user, const std::string& password);

    // Before start(): TLS with this certificate and key, as STLS on the plain
    // port and from the first byte on tlsPort(). Without it the server
    // knows no TLS at all (and refuses STLS).
    void enableTls(const std::string& certificateFile, const std::string& keyFile);

    // Starts the server and returns once it greets on its port; throws
    // std::runtime_error (with the server's log) when it does not come up.
    void start();
    void stop();

    int port() const { return m_port; }
    int tlsPort() const { return m_tlsPort; }
    std::string hostAndPort() const;
    const std::filesystem::path& directory() const { return m_directory; }

    // Drops one message into the user's new/ folder the way a delivery agent
    // does: written in tmp/, then renamed, so the server never sees it half.
    void deliver(const std::string& user, const std::string& from, const std::string& subject,
                 const std::string& body = "This is a test message.\n");
    // Messages "From: Sender N <sN@example.org>" / "Subject: Message N" for
    // N = first .. first + count - 1.
    void deliverMany(const std::string& user, int count, int first = 1);
    // Deletes the user's `count` oldest messages, as another client would.
    void removeMessages(const std::string& user, int count);
    int messageCount(const std::string& user) const;

    std::string logText() const;

private:
    struct Account {
        uid_t uid;
        gid_t gid;
        std::string user;
        std::string group;
    };

    std::filesystem::path mailDirectory(const std::string& user) const;
    std::vector<std::filesystem::path> messageFiles(const std::string& user) const;
    void writeConfig() const;
    void writeMessage(const std::string& user, const std::string& text);
    enum class Start { Running, PortTaken, Failed };
    std::string greeting() const;
    Start waitForGreeting(ChildProcess& server, std::string& failure) const;

    std::filesystem::path m_directory;
    Account m_serviceAccount{};
    std::vector<std::pair<std::string, std::string>> m_users;
    int m_port = 0;
    int m_tlsPort = 0;
    std::string m_certificateFile;
    std::string m_keyFile;
    std::unique_ptr<ChildProcess> m_process;
    std::atomic<unsigned long> m_sequence{0};
};

}  // namespace mivo::test

#include "DovecotServer.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>
#include <thread>

#include "LoopbackPort.h"
#include "Pop3LineClient.h"

namespace mivo::test {
namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kStartAttempts = 5;
constexpr auto kStartLimit = std::chrono::seconds(30);
// Dovecot takes about a second to wind down its log process; a server that
// needs much longer is killed rather than waited for.
constexpr auto kStopLimit = std::chrono::seconds(3);

[[noreturn]] void fail(const std::string& what) {
    throw std::runtime_error("DovecotServer: " + what);
}

[[noreturn]] void failWithErrno(const std::string& what) {
    fail(what + ": " + std::strerror(errno));
}

// Under root the server's processes run as another user, who must be able
// to pass through every folder above its own.
bool othersCanPassThrough(const fs::path& directory) {
    for (fs::path path = directory;; path = path.parent_path()) {
        struct stat status {};
        if (::stat(path.c_str(), &status) != 0 || (status.st_mode & S_IXOTH) == 0) {
            return false;
        }
        if (path == path.root_path() || path.empty()) {
            return true;
        }
    }
}

std::string temporaryBase() {
    // Dovecot's config takes paths unquoted, so a TMPDIR with blanks is not used.
    const char* value = std::getenv("TMPDIR");
    if (value != nullptr && *value == '/' &&
        std::string(value).find_first_of(" \t\"") == std::string::npos &&
        (::geteuid() != 0 || othersCanPassThrough(value))) {
        return value;
    }
    return "/tmp";
}

std::string groupName(gid_t gid) {
    const group* entry = ::getgrgid(gid);
    if (entry == nullptr) {
        fail("no group name for gid " + std::to_string(gid));
    }
    return entry->gr_name;
}

// Dovecot refuses to run its login processes as root and to give mail
// processes uid 0, so under root everything it runs is handed to "nobody";
// an ordinary user runs the whole server as itself.
auto serviceAccount() {
    struct Result {
        uid_t uid;
        gid_t gid;
        std::string user;
        std::string group;
    };
    const passwd* entry = ::geteuid() == 0 ? ::getpwnam("nobody") : ::getpwuid(::geteuid());
    if (entry == nullptr) {
        fail(::geteuid() == 0 ? "there is no user \"nobody\" to run the server as"
                              : "the current user has no name in the user database");
    }
    const gid_t gid = ::geteuid() == 0 ? entry->pw_gid : ::getegid();
    return Result{entry->pw_uid, gid, entry->pw_name, groupName(gid)};
}

void makeDirectory(const fs::path& path, mode_t mode) {
    if (::mkdir(path.c_str(), mode) != 0 && errno != EEXIST) {
        failWithErrno("mkdir " + path.string());
    }
    // The umask must not take away the bits the service account relies on.
    ::chmod(path.c_str(), mode);
}

void writeWhole(int descriptor, const std::string& text, const fs::path& path) {
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t count = ::write(descriptor, text.data() + written, text.size() - written);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            failWithErrno("write " + path.string());
        }
        written += static_cast<std::size_t>(count);
    }
}

// Written beside the target and renamed over it, so a reader sees the old
// file or the new one, never a part.
void replaceFile(const fs::path& path, const std::string& text, mode_t mode) {
    const fs::path partial = path.string() + ".new";
    FileDescriptor file(::open(partial.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode));
    if (!file.isOpen()) {
        failWithErrno("open " + partial.string());
    }
    writeWhole(file.get(), text, partial);
    ::fchmod(file.get(), mode);
    file.reset();
    if (::rename(partial.c_str(), path.c_str()) != 0) {
        failWithErrno("rename " + partial.string());
    }
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The size of a message as a POP3 client sees it: every bare LF becomes CR LF.
std::size_t virtualSize(const std::string& text) {
    std::size_t size = text.size();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) {
            ++size;
        }
    }
    return size;
}

// Message files are named "<seconds>.M<sequence>P<pid>...": Dovecot numbers
// new messages in the order of that leading number, and so does this fixture.
unsigned long long deliveryOrder(const fs::path& file) {
    return std::strtoull(file.filename().c_str(), nullptr, 10);
}

void checkUserName(const std::string& user) {
    if (user.empty() || user.find_first_of(":/\n\r\t ") != std::string::npos) {
        fail("unusable user name \"" + user + "\"");
    }
}

}  // namespace

std::string DovecotServer::programPath() {
    for (const char* candidate : {"/usr/sbin/dovecot", "/usr/local/sbin/dovecot"}) {
        if (::access(candidate, X_OK) == 0) {
            return candidate;
        }
    }
    return {};
}

DovecotServer::DovecotServer() {
    std::string pattern = temporaryBase() + "/mivo-dovecot-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        failWithErrno("mkdtemp in " + temporaryBase());
    }
    m_directory = pattern;
    try {
        const auto account = serviceAccount();
        m_serviceAccount = {account.uid, account.gid, account.user, account.group};
        // Others may pass through (the service account under root) but not list.
        makeDirectory(m_directory, 0711);
        makeDirectory(m_directory / "mail", 0711);
        replaceFile(m_directory / "users", "", 0644);
    } catch (...) {
        std::error_code ignored;
        fs::remove_all(m_directory, ignored);
        throw;
    }
}

DovecotServer::~DovecotServer() {
    try {
        stop();
    } catch (...) {
        // Nothing sensible is left to do about a server that will not stop.
    }
    std::error_code ignored;
    fs::remove_all(m_directory, ignored);
}

void DovecotServer::addUser(const std::string& user, const std::string& password) {
    if (m_process) {
        fail("users are added before the server starts");
    }
    checkUserName(user);
    if (password.find_first_of(":\n") != std::string::npos) {
        fail("unusable password for " + user);
    }
    const fs::path home = mailDirectory(user);
    makeDirectory(home, 0700);
    for (const char* folder : {"new", "cur", "tmp"}) {
        makeDirectory(home / folder, 0700);
    }
    if (::geteuid() == 0) {
        for (const fs::path& path : {home, home / "new", home / "cur", home / "tmp"}) {
            if (::chown(path.c_str(), m_serviceAccount.uid, m_serviceAccount.gid) != 0) {
                failWithErrno("chown " + path.string());
            }
        }
    }
    m_users.emplace_back(user, password);
    std::string text;
    for (const auto& [name, secret] : m_users) {
        text += name + ":{PLAIN}" + secret + "\n";
    }
    replaceFile(m_directory / "users", text, 0644);
}

void DovecotServer::enableTls(const std::string& certificateFile, const std::string& keyFile) {
    if (m_process) {
        fail("TLS is set up before the server starts");
    }
    m_certificateFile = certificateFile;
    m_keyFile = keyFile;
}

fs::path DovecotServer::mailDirectory(const std::string& user) const {
    checkUserName(user);
    return m_directory / "mail" / user;
}

// Names this instance, so that a greeting on the port proves it is ours and
// not another program's that took the port first.
std::string DovecotServer::greeting() const {
    return "mivo-test " + m_directory.filename().string() + " ready";
}

std::string DovecotServer::hostAndPort() const {
    return "127.0.0.1:" + std::to_string(m_port);
}

void DovecotServer::writeConfig() const {
    const std::string dir = m_directory.string();
    const std::string& user = m_serviceAccount.user;
    std::ostringstream config;
    config << "# Private test instance: loopback only, POP3 only, plain passwords.\n"
           << "base_dir = " << dir << "/run\n"
           << "state_dir = " << dir << "/state\n"
           << "instance_name = mivo-test\n"
           << "login_greeting = " << greeting() << "\n"
           << "log_path = " << dir << "/dovecot.log\n"
           << "protocols = pop3\n"
           << "listen = 127.0.0.1\n"
           << (m_certificateFile.empty() ? "ssl = no\n"
                                         : "ssl = yes\nssl_cert = <" + m_certificateFile +
                                               "\nssl_key = <" + m_keyFile + "\n")
           << "disable_plaintext_auth = no\n"
           << "auth_mechanisms = plain\n"
           // A wrong password would otherwise hold the answer back for seconds.
           << "auth_failure_delay = 0\n"
           << "default_login_user = " << user << "\n"
           << "default_internal_user = " << user << "\n"
           << "default_internal_group = " << m_serviceAccount.group << "\n"
           << "first_valid_uid = 1\n"
           << "first_valid_gid = 1\n"
           << "mail_location = maildir:" << dir << "/mail/%u\n"
           << "mail_fsync = never\n"
           << "pop3_uidl_format = %08Xu%08Xv\n"
           // Leaves new/ alone: no renames into cur/ for messages only looked at.
           << "pop3_no_flag_updates = yes\n"
           << "passdb {\n"
           << "  driver = passwd-file\n"
           << "  args = scheme=PLAIN username_format=%u " << dir << "/users\n"
           << "}\n"
           << "userdb {\n"
           << "  driver = static\n"
           << "  args = uid=" << m_serviceAccount.uid << " gid=" << m_serviceAccount.gid
           << " home=" << dir << "/mail/%u\n"
           << "}\n"
           << "service pop3-login {\n"
           << "  chroot =\n"
           << "  process_min_avail = 1\n"
           << "  inet_listener pop3 {\n"
           << "    address = 127.0.0.1\n"
           << "    port = " << m_port << "\n"
           << "  }\n"
           << "  inet_listener pop3s {\n"
           << (m_tlsPort == 0 ? std::string{} : "    address = 127.0.0.1\n    ssl = yes\n")
           << "    port = " << m_tlsPort << "\n"
           << "  }\n"
           << "}\n"
           << "service anvil {\n"
           << "  chroot =\n"
           // Without this socket the auth process keeps no per-address penalty,
           // which would delay every login after a failed one by up to 15 s.
           << "  unix_listener anvil-auth-penalty {\n"
           << "    mode = 0\n"
           << "  }\n"
           << "}\n";
    replaceFile(m_directory / "dovecot.conf", config.str(), 0644);
}

DovecotServer::Start DovecotServer::waitForGreeting(ChildProcess& server,
                                                    std::string& failure) const {
    const auto deadline = Clock::now() + kStartLimit;
    while (Clock::now() < deadline) {
        if (server.poll()) {
            failure = "the server ended (" + server.exitStatus().describe() + ")";
            return Start::Failed;
        }
        try {
            Pop3LineClient client("127.0.0.1", m_port, std::chrono::seconds(10));
            const std::string line = client.readLine();
            if (line.rfind("+OK " + greeting(), 0) != 0) {
                failure = "another program answers on port " + std::to_string(m_port) + ": \"" +
                          line + "\"";
                return Start::PortTaken;
            }
            client.command("QUIT");
            return Start::Running;
        } catch (const std::system_error& error) {
            if (error.code().value() != ECONNREFUSED) {
                failure = error.what();
                return Start::Failed;
            }
        } catch (const std::runtime_error& error) {
            failure = error.what();
            return Start::Failed;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    failure = "no greeting within " + std::to_string(kStartLimit.count()) + " s";
    return Start::Failed;
}

// Dovecot binds its port itself, so the number it gets may be taken by
// someone else before it starts (see portForAnotherProgram): then it is
// started again on a new number.
void DovecotServer::start() {
    if (m_process && !m_process->hasEnded()) {
        return;
    }
    const std::string program = programPath();
    if (program.empty()) {
        fail("dovecot is not installed");
    }
    std::string failure;
    for (int attempt = 1; attempt <= kStartAttempts; ++attempt) {
        m_port = portForAnotherProgram();
        m_tlsPort = m_certificateFile.empty() ? 0 : portForAnotherProgram();
        writeConfig();
        ChildOptions options;
        options.standardOutputFile = (m_directory / "dovecot.out").string();
        options.standardErrorFile = options.standardOutputFile;
        m_process = std::make_unique<ChildProcess>(
            std::vector<std::string>{program, "-F", "-c", (m_directory / "dovecot.conf").string()},
            options);
        const Start outcome = waitForGreeting(*m_process, failure);
        if (outcome == Start::Running) {
            return;
        }
        stop();
        if (outcome != Start::PortTaken &&
            logText().find("Address already in use") == std::string::npos) {
            break;
        }
    }
    fail("the server did not start: " + failure + "\n" + logText());
}

void DovecotServer::stop() {
    if (!m_process) {
        return;
    }
    if (!m_process->hasEnded()) {
        m_process->signalGroup(SIGTERM);
        // wait() kills the whole group should the server not go in time.
        m_process->wait(Clock::now() + kStopLimit);
    }
    // Workers that outlived their master must not keep running in the background.
    m_process->signalGroup(SIGKILL);
    m_process.reset();
}

void DovecotServer::writeMessage(const std::string& user, const std::string& text) {
    const fs::path home = mailDirectory(user);
    const unsigned long sequence = ++m_sequence;
    std::string name = std::to_string(1000000000UL + sequence) + ".M" + std::to_string(sequence) +
                       "P" + std::to_string(::getpid()) +
                       ".mivo-test,S=" + std::to_string(text.size());
    const std::size_t size = virtualSize(text);
    // With the sizes in the name the server never has to read a file to STAT.
    if (size != text.size()) {
        name += ",W=" + std::to_string(size);
    }
    const fs::path partial = home / "tmp" / name;
    FileDescriptor file(::open(partial.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
    if (!file.isOpen()) {
        failWithErrno("open " + partial.string());
    }
    writeWhole(file.get(), text, partial);
    file.reset();
    if (::rename(partial.c_str(), (home / "new" / name).c_str()) != 0) {
        failWithErrno("rename " + partial.string());
    }
}

void DovecotServer::deliver(const std::string& user, const std::string& from,
                            const std::string& subject, const std::string& body) {
    writeMessage(user, "From: " + from + "\nTo: " + user + "\nSubject: " + subject +
                           "\nDate: Thu, 01 Jan 2026 09:00:00 +0000\n\n" + body);
}

void DovecotServer::deliverMany(const std::string& user, int count, int first) {
    for (int number = first; number < first + count; ++number) {
        const std::string n = std::to_string(number);
        deliver(user, "Sender " + n + " <s" + n + "@example.org>", "Message " + n);
    }
}

std::vector<fs::path> DovecotServer::messageFiles(const std::string& user) const {
    const fs::path home = mailDirectory(user);
    std::vector<fs::path> files;
    for (const char* folder : {"new", "cur"}) {
        for (const auto& entry : fs::directory_iterator(home / folder)) {
            if (entry.is_regular_file()) {
                files.push_back(entry.path());
            }
        }
    }
    std::sort(files.begin(), files.end(), [](const fs::path& a, const fs::path& b) {
        return deliveryOrder(a) < deliveryOrder(b);
    });
    return files;
}

void DovecotServer::removeMessages(const std::string& user, int count) {
    const std::vector<fs::path> files = messageFiles(user);
    if (count < 0 || static_cast<std::size_t>(count) > files.size()) {
        fail("cannot remove " + std::to_string(count) + " of " + std::to_string(files.size()) +
             " messages of " + user);
    }
    for (int i = 0; i < count; ++i) {
        fs::remove(files[static_cast<std::size_t>(i)]);
    }
}

int DovecotServer::messageCount(const std::string& user) const {
    return static_cast<int>(messageFiles(user).size());
}

std::string DovecotServer::logText() const {
    return readFile(m_directory / "dovecot.out") + readFile(m_directory / "dovecot.log");
}

}  // namespace mivo::test

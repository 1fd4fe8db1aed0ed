// mivo-check with rules in its settings: messages downloaded into TEMPDIR,
// programs run on them, deletions, and the file number saved back; and what
// a hostile server or a hostile neighbour in a shared directory can do to a
// download: a message far larger than memory, lines of any length and bytes,
// a message cut off, a missing directory, a file or link already where the
// file is to go.

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "MivoCheckRun.h"
#include "ScriptedMailbox.h"
#include "ScriptedServer.h"
#include "StoredSettingsText.h"
#include "TemporaryDirectory.h"

namespace mivo::test {
namespace {

namespace fs = std::filesystem;

// A sanitizer's own bookkeeping (shadow memory, freed memory held in
// quarantine) says nothing about the program's, and its leak check cannot
// run under the ptrace that reads a child's peak memory.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMemoryMeasurable = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kMemoryMeasurable = false;
#else
constexpr bool kMemoryMeasurable = true;
#endif
#else
constexpr bool kMemoryMeasurable = true;
#endif

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// What a program started by the run wrote, once it has written `expected`
// or given up: the run does not wait for the programs it starts, and a
// program makes its file before it writes it.
std::string awaitFile(const fs::path& file, const std::string& expected) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::string text = "(no file)";
    while (std::chrono::steady_clock::now() < deadline) {
        if (fs::exists(file)) {
            text = readWholeFile(file);
            if (text == expected) {
                break;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return text;
}

std::vector<std::string> filesIn(const fs::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

class MivoCheckRulesTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directory(mail); }

    std::string host() const { return "127.0.0.1:" + std::to_string(server.port()); }
    std::string settingsPath() const { return directory / "Settings"; }

    // The login and STAT of a mailbox of `count` messages, on a server that
    // lists no ids.
    ScriptedServer& login(int count) {
        scriptLogin(server, "alice", "pw", static_cast<std::size_t>(count));
        return count == 0 ? server : server.expectLine("UIDL").send("-ERR unknown command\r\n");
    }

    // Connection `run` of a mailbox holding one message from ann, scripted
    // up to its RETR and the message sent.
    ScriptedServer& retrieveInRun(int run, const std::string& message) {
        if (run > 0) {
            server.nextConnection();
        }
        return login(1)
            .expectLine("TOP 1 0")
            .send("+OK\r\nFrom: ann\r\n\r\n.\r\n")
            .expectLine("RETR 1")
            .send("+OK\r\n" + message + ".\r\n");
    }

    // Stored settings with rules in use, TEMPDIR `temporary` and `rules`
    // (further settings lines).
    void storeSettings(const fs::path& temporary, const std::string& rules) {
        writeWholeFile(settingsPath(), settingsText({{"alice", "pw", host()}},
                                                    "RULES=Use Rules\r\nS5=YES\r\nTEMPDIR=" +
                                                        temporary.string() + "\r\n" + rules));
    }

    CheckRun check(const ChildOptions& options = {},
                   std::chrono::seconds limit = std::chrono::seconds(30)) {
        server.start();
        CheckRun run = runMivoCheck({"--config", directory.path()}, options, limit);
        EXPECT_TRUE(server.failures().empty()) << ::testing::PrintToString(server.failures());
        return run;
    }

    TemporaryDirectory directory;
    const fs::path mail = directory.path() / "mail";
    ScriptedServer server;
};

TEST_F(MivoCheckRulesTest, RulesDownloadRunAndDeleteAndTheFileNumberIsSavedBack) {
    // Rule 1 saves invoices and copies each with cp; rule 2 deletes spam;
    // the third message matches nothing.
    storeSettings(mail,
                  "RULEindex1=8\r\nRULEstr1=Invoice\r\nDL1=YES\r\nURG1=YES\r\n"
                  "RunFile1=cp %s " +
                      (directory / "copy.txt") +
                      "\r\n"
                      "RULEindex2=3\r\nRULEstr2=spam\r\nDEL2=YES\r\nuniqueFile=11\r\n");
    login(3)
        .expectLine("TOP 1 0")
        .send("+OK\r\nFrom: ann\r\nSubject: Invoice 42\r\n\r\n.\r\n")
        .expectLine("RETR 1")
        .send("+OK\r\nFrom: ann\r\nSubject: Invoice 42\r\n\r\n..total: 42\r\n.\r\n")
        .expectLine("TOP 2 0")
        .send("+OK\r\nFrom: spam@example.org\r\n\r\n.\r\n")
        .expectLine("DELE 2")
        .send("+OK\r\n")
        .expectLine("TOP 3 0")
        .send("+OK\r\nFrom: bob\r\nSubject: hello\r\n\r\n.\r\n")
        .expectLine("QUIT")
        .send("+OK bye\r\n")
        .close();

    const CheckRun run = check();
    EXPECT_EQ(run.exit.exitCode, 0) << run.errors;
    EXPECT_TRUE(contains(run.output, "ann\tInvoice 42\n")) << run.output;
    EXPECT_TRUE(contains(run.output, "spam@example.org\tNo Subject\n")) << run.output;
    EXPECT_TRUE(contains(run.output, "Email diddn't match any rule.\n")) << run.output;

    // The message as the server holds it, one LF-ended line each.
    const std::string message = "From: ann\nSubject: Invoice 42\n\n.total: 42\n";
    const fs::path saved = mail / "Mivo12.txt";
    EXPECT_EQ(readWholeFile(saved), message);
    struct stat status {};
    ASSERT_EQ(::stat(saved.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    EXPECT_EQ(filesIn(mail), std::vector<std::string>{"Mivo12.txt"});
    // The program ran on the file once it was whole.
    EXPECT_EQ(awaitFile(directory / "copy.txt", message), message);
    EXPECT_TRUE(contains(readWholeFile(settingsPath()), "uniqueFile=12\r\n"));
}

TEST_F(MivoCheckRulesTest, A200MiBMessageGoesToDiskInFlatMemory) {
    constexpr std::size_t kLines = 2 * 1024 * 1024;
    const std::string line(98, 'x');  // 100 bytes a line on the wire
    storeSettings(mail, "RULEindex1=3\r\nRULEstr1=ann\r\nDL1=YES\r\n");
    login(1)
        .expectLine("TOP 1 0")
        .send("+OK\r\nFrom: ann\r\n\r\n.\r\n")
        .expectLine("RETR 1")
        .send("+OK\r\n")
        .sendRepeated(line + "\r\n", kLines)
        .send(".\r\n")
        .expectLine("QUIT")
        .send("+OK bye\r\n")
        .close();
    ChildOptions options;
    options.measurePeakMemory = kMemoryMeasurable;

    const CheckRun run = check(options, std::chrono::seconds(600));
    EXPECT_EQ(run.exit.exitCode, 0) << run.errors;
    const fs::path saved = mail / "Mivo0.txt";
    EXPECT_EQ(fs::file_size(saved), kLines * (line.size() + 1));
    fs::remove(saved);
    if (!kMemoryMeasurable) {
        GTEST_SKIP() << "peak memory is not the program's own in a sanitizer build";
    }
    // A few MiB of buffers on top of the program itself, however large the
    // message: nowhere near its 200 MiB.
    const long peak =
        run.exit.peakKibibytes >= 0 ? run.exit.peakKibibytes : run.exit.usage.ru_maxrss;
    EXPECT_LT(peak, 64 * 1024) << "peak resident memory in KiB";
}

TEST_F(MivoCheckRulesTest, AMessageCutOffLeavesNoFileBehind) {
    storeSettings(mail, "RULEindex1=3\r\nRULEstr1=ann\r\nDL1=YES\r\nRunFile1=touch " +
                            (directory / "ran") + "\r\n");
    login(1)
        .expectLine("TOP 1 0")
        .send("+OK\r\nFrom: ann\r\n\r\n.\r\n")
        .expectLine("RETR 1")
        .send("+OK\r\n")
        .sendRepeated("half a message\r\n", 10000)
        .close();

    const CheckRun run = check();
    // The message was listed before the download began, and is announced.
    EXPECT_TRUE(contains(run.output, "ann\tNo Subject\n")) << run.output;
    EXPECT_TRUE(filesIn(mail).empty()) << ::testing::PrintToString(filesIn(mail));
    EXPECT_FALSE(fs::exists(directory / "ran"));
}

// The message that could not be saved is not deleted: that would lose it.
TEST_F(MivoCheckRulesTest, AMissingDirectoryIsReportedAndTheConversationGoesOn) {
    storeSettings(directory / "missing",
                  "RULEindex1=3\r\nRULEstr1=ann\r\nDL1=YES\r\nDEL1=YES\r\n"
                  "RunFile1=touch " +
                      (directory / "ran") + "\r\n");
    login(2)
        .expectLine("TOP 1 0")
        .send("+OK\r\nFrom: ann\r\n\r\n.\r\n")
        .expectLine("RETR 1")
        .send("+OK\r\nFrom: ann\r\n\r\nbody\r\n.\r\n")
        .expectLine("TOP 2 0")
        .send("+OK\r\nFrom: bob\r\n\r\n.\r\n")
        .expectLine("QUIT")
        .send("+OK bye\r\n")
        .close();

    const CheckRun run = check();
    EXPECT_EQ(run.exit.exitCode, 0) << run.errors;
    EXPECT_TRUE(contains(run.output, "Could not open file for output (save downloaded file)\n"))
        << run.output;
    EXPECT_TRUE(contains(run.output, "Program not run, the downloaded email was not saved\n"))
        << run.output;
    EXPECT_FALSE(fs::exists(directory / "missing"));
    // No program starts on a name whose file this run did not write.
    EXPECT_FALSE(fs::exists(directory / "ran"));
}

// A download-and-delete rule without a program, run after run: each message
// keeps its file, the only copy left once the server has deleted it, and
// holds the message's bytes whatever its lines.
TEST_F(MivoCheckRulesTest, EveryDeletedMessageKeepsItsOwnExactCopyRunAfterRun) {
    using namespace std::string_literals;
    const std::vector<std::string> messages = {
        "From: ann\r\n\r\n"s + std::string(5000, 'a') + "\r\nNUL \0 inside\r\n"s,
        "From: ann\r\n\r\nthe second\r\n"s,
    };
    for (std::size_t run = 0; run < messages.size(); ++run) {
        retrieveInRun(static_cast<int>(run), messages[run])
            .expectLine("DELE 1")
            .send("+OK\r\n")
            .expectLine("QUIT")
            .send("+OK bye\r\n")
            .close();
    }
    storeSettings(mail, "RULEindex1=3\r\nRULEstr1=ann\r\nDL1=YES\r\nDEL1=YES\r\n");
    server.start();
    for (std::size_t run = 0; run < messages.size(); ++run) {
        const CheckRun checked = runMivoCheck({"--config", directory.path()});
        EXPECT_EQ(checked.exit.exitCode, 0) << checked.errors;
    }
    EXPECT_TRUE(server.failures().empty()) << ::testing::PrintToString(server.failures());
    const auto saved = [](std::string message) {
        for (std::size_t at = message.find("\r\n"); at != std::string::npos;
             at = message.find("\r\n", at)) {
            message.erase(at, 1);
        }
        return message;
    };
    EXPECT_EQ(readWholeFile(mail / "Mivo0.txt"), saved(messages[0]));
    EXPECT_EQ(readWholeFile(mail / "Mivo1.txt"), saved(messages[1]));
}

// Another user of a shared directory cannot make the download write
// through a link, nor make it replace anything: what is planted at the file
// name stays as it is, and the message takes the next number.
TEST_F(MivoCheckRulesTest, AFileOrLinkPlantedAtTheFileNameIsLeftAlone) {
    const fs::path victim = directory / "victim";
    const fs::path absent = directory / "absent";
    for (int run = 0; run < 3; ++run) {
        retrieveInRun(run, "From: ann\r\n").expectLine("QUIT").send("+OK bye\r\n").close();
    }
    server.start();
    writeWholeFile(victim, "precious");
    const fs::path planted = mail / "Mivo0.txt";
    // A link to a file, a dangling link, and a plain file (no link target).
    for (const fs::path& linkTarget : {victim, absent, fs::path()}) {
        SCOPED_TRACE(linkTarget.string());
        fs::remove_all(mail);
        fs::create_directory(mail);
        storeSettings(mail, "RULEindex1=3\r\nRULEstr1=ann\r\nDL1=YES\r\n");
        if (linkTarget.empty()) {
            writeWholeFile(planted, "planted");
        } else {
            fs::create_symlink(linkTarget, planted);
        }

        const CheckRun run = runMivoCheck({"--config", directory.path()});
        EXPECT_EQ(run.exit.exitCode, 0) << run.errors;
        EXPECT_EQ(readWholeFile(mail / "Mivo1.txt"), "From: ann\n");
        if (linkTarget.empty()) {
            EXPECT_EQ(readWholeFile(planted), "planted");
        } else {
            ASSERT_TRUE(fs::is_symlink(planted));
            EXPECT_EQ(fs::read_symlink(planted), linkTarget);
        }
    }
    EXPECT_EQ(readWholeFile(victim), "precious");
    EXPECT_FALSE(fs::exists(absent));
    EXPECT_TRUE(server.failures().empty()) << ::testing::PrintToString(server.failures());
}

}  // namespace
}  // namespace mivo::test

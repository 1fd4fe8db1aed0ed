// Every conversation in transcripts/ played against a whole Program: once
// with the server's bytes in one piece, then cut in two at every offset.
// Each cut must give exactly the same commands, Log, caption and lists.
//
// A transcript is a text file of lines "KEY: value"; values take the escapes
// \r \n \t \\ and \xHH. Keys:
//   account: USER PASS HOST   account 1 (default bob pw 127.0.0.1)
//   known: N                  lastNumKnown of account 1 before the check
//   count-only: yes           "Number of email" level of detail
//   greeted-before: yes       the account's server has greeted before
//   S: text                   server bytes, CR LF added
//   R: text                   server bytes as they are
//   C: text                   a command the client must send (CR LF added)
//   L: text                   the next expected Log line ("Timer 1 called"
//                             lines are left out)
//   caption: text             the caption at the end
//   list: text                account 1's new-mail list at the end
//   errors: text              the accounts dialog's error list at the end
// Lines starting with # are comments.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "CheckFixture.h"

namespace mivo {
namespace {

struct Transcript {
    std::string name;
    std::string user = "bob";
    std::string pass = "pw";
    std::string host = "127.0.0.1";
    int known = 0;
    bool countOnly = false;
    bool greetedBefore = false;
    std::string serverBytes;
    std::string commands;
    std::vector<std::string> log;
    std::string caption;
    std::string list;
    std::string errors;
};

// gtest names a failing case by its transcript, not by its bytes.
void PrintTo(const Transcript& transcript, std::ostream* out) {
    *out << transcript.name;
}

std::string unescape(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char code = text[++i];
        switch (code) {
            case 'r':
                out += '\r';
                break;
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case 'x':
                out +=
                    static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
                i += 2;
                break;
            default:
                out += code;
                break;
        }
    }
    return out;
}

Transcript readTranscript(const std::filesystem::path& path) {
    Transcript t;
    t.name = path.stem().string();
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const std::size_t colon = line.find(": ");
        const std::string key = line.substr(0, colon);
        const std::string value =
            colon == std::string::npos ? std::string{} : unescape(line.substr(colon + 2));
        if (key == "account") {
            std::istringstream words(value);
            words >> t.user >> t.pass >> t.host;
        } else if (key == "known") {
            t.known = std::stoi(value);
        } else if (key == "count-only") {
            t.countOnly = value == "yes";
        } else if (key == "greeted-before") {
            t.greetedBefore = value == "yes";
        } else if (key == "S") {
            t.serverBytes += value + "\r\n";
        } else if (key == "R") {
            t.serverBytes += value;
        } else if (key == "C") {
            t.commands += value + "\r\n";
        } else if (key == "L") {
            t.log.push_back(value);
        } else if (key == "caption") {
            t.caption = value;
        } else if (key == "list") {
            t.list += value;
        } else if (key == "errors") {
            t.errors += value;
        } else {
            ADD_FAILURE() << path << ": unknown key " << key;
        }
    }
    return t;
}

std::vector<Transcript> allTranscripts() {
    std::vector<std::filesystem::path> paths;
    for (const auto& entry : std::filesystem::directory_iterator(MIVO_TRANSCRIPT_DIR)) {
        if (entry.path().extension() == ".txt") {
            paths.push_back(entry.path());
        }
    }
    std::sort(paths.begin(), paths.end());
    std::vector<Transcript> transcripts;
    for (const auto& path : paths) {
        transcripts.push_back(readTranscript(path));
    }
    return transcripts;
}

// What one play of a transcript left behind.
struct Result {
    std::string commands;
    std::vector<std::string> log;
    std::string caption;
    std::string list;
    std::string errors;

    bool operator==(const Result&) const = default;
};

Result play(const Transcript& t, const std::vector<std::string>& pieces) {
    test::ProgramOnFakes run;
    run.setAccount(1, t.user, t.pass, t.host);
    run.cycle.lastNumKnown[1] = t.known;
    run.cycle.CCW[1] = t.greetedBefore;
    run.window.NewMLevelNumber.set(t.countOnly);
    run.checkNow();
    const SocketHandle socket = run.server();
    run.accept();
    run.sockets.serverSends(socket, pieces);
    if (run.cycle.connected) {
        run.sockets.serverCloses(socket);
    }
    Result result;
    result.commands = run.sockets.socket(socket).sent;
    result.log = run.logWithoutTicks();
    result.caption = run.ui.applicationTitles.empty() ? "" : run.ui.applicationTitles.back();
    result.list = run.accounts.Memon[1].get();
    result.errors = run.accounts.Errors.get();
    return result;
}

class TranscriptTest : public ::testing::TestWithParam<Transcript> {};

TEST_P(TranscriptTest, PlaysTheSameWholeAndCutAtEveryOffset) {
    const Transcript& t = GetParam();
    const Result whole = play(t, {t.serverBytes});
    EXPECT_EQ(whole.commands, t.commands);
    EXPECT_EQ(whole.log, t.log);
    EXPECT_EQ(whole.caption, t.caption);
    EXPECT_EQ(whole.list, t.list);
    EXPECT_EQ(whole.errors, t.errors);
    for (std::size_t cut = 1; cut < t.serverBytes.size(); ++cut) {
        const Result split = play(t, {t.serverBytes.substr(0, cut), t.serverBytes.substr(cut)});
        if (!(split == whole)) {
            ADD_FAILURE() << "cut at " << cut << " of " << t.serverBytes.size();
            EXPECT_EQ(split.commands, whole.commands);
            EXPECT_EQ(split.log, whole.log);
            EXPECT_EQ(split.caption, whole.caption);
            EXPECT_EQ(split.list, whole.list);
            break;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Transcripts, TranscriptTest, ::testing::ValuesIn(allTranscripts()),
                         [](const ::testing::TestParamInfo<Transcript>& param) {
                             std::string name;
                             for (char c : param.param.name) {
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

}  // namespace
}  // namespace mivo

// Every conversation in transcripts/ played against a whole Program: once
// with the server's bytes in one piece, then cut in two at every offset.
// Each cut must give exactly the same commands, Log, caption and lists.
//
// A transcript is a text file of lines "KEY: value"; values take the escapes
// \r \n \t \\ and \xHH. Keys:
//   account: USER PASS HOST   account 1 (default bob pw 127.0.0.1)
//   known: N                  lastNumKnown of account 1 before the check
//   seen: ID ...              the ids of account 1's messages seen before
//                             (without it, account 1 is known by count)
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
// Rules, which are in use once a transcript has one:
//   rule: N FIELD [urgent] [download] [delete]   rule N looks at FIELD
//   text: N text              the text rule N looks for
//   program: N text           the program rule N runs
//   notice-all: no            unmatched messages are listed as they are
//   tempdir: PATH             TEMPDIR (default /temp)
//   unique: N                 uniqueFile before the check
//   missing-dir: PATH         a directory where no file can be started
//   disk-space: N             a file's writes fail past N bytes
//   existing: PATH            a file there before the check, holding
//                             "an earlier message" and an LF
// and what they did:
//   event: text               the next download event or program start
//                             ("start PATH", "keep PATH" with " synced"
//                             when it is on disk before keep returns,
//                             "name taken PATH", "drop PATH", "cannot
//                             start PATH", "run" and each argument in
//                             double quotes)
//   saved: PATH               a file kept, whose lines follow as
//   F: text                   one line of the file last named (LF added)
//   unique-after: N           uniqueFile at the end
//   known-after: N            lastNumKnown of account 1 at the end
//   seen-after: ID ...        the ids seen at the end, in order, or "by
//                             count"
//   urgent-notice: yes        the cycle ended with the urgent notice shown
// Lines starting with # are comments.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
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
    std::optional<std::string> seen;
    bool countOnly = false;
    bool greetedBefore = false;
    std::string serverBytes;
    std::string commands;
    std::vector<std::string> log;
    std::string caption;
    std::string list;
    std::string errors;

    struct RuleSetting {
        int field = 0;
        std::string text;
        bool urgent = false;
        bool download = false;
        bool remove = false;
        std::string program;
    };
    std::map<int, RuleSetting> rules;
    bool noticeAll = true;
    std::string tempDirectory = "/temp";
    std::int32_t uniqueFile = 0;
    std::vector<std::string> missingDirectories;
    std::size_t diskSpace = std::string::npos;
    std::vector<std::string> existingFiles;
    std::vector<std::string> events;
    std::map<std::string, std::string> files;
    std::optional<std::int32_t> uniqueAfter;
    std::optional<int> knownAfter;
    std::optional<std::string> seenAfter;
    bool urgentNotice = false;
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

int headerFieldIndex(const std::string& name) {
    const auto found = std::find(kHeaderFieldNames.begin(), kHeaderFieldNames.end(), name);
    return found == kHeaderFieldNames.end() ? std::stoi(name)
                                            : static_cast<int>(found - kHeaderFieldNames.begin());
}

// "N rest" of the rule keys: the rule's number and the rest of the value.
std::pair<int, std::string> numbered(const std::string& value) {
    const std::size_t blank = value.find(' ');
    return {std::stoi(value.substr(0, blank)),
            blank == std::string::npos ? std::string{} : value.substr(blank + 1)};
}

void readRule(const std::string& value, Transcript& t) {
    std::istringstream words(value);
    int number = 0;
    std::string field;
    words >> number >> field;
    Transcript::RuleSetting& rule = t.rules[number];
    rule.field = headerFieldIndex(field);
    for (std::string option; words >> option;) {
        rule.urgent = rule.urgent || option == "urgent";
        rule.download = rule.download || option == "download";
        rule.remove = rule.remove || option == "delete";
    }
}

Transcript readTranscript(const std::filesystem::path& path) {
    Transcript t;
    std::string lastSaved;
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
        } else if (key == "rule") {
            readRule(value, t);
        } else if (key == "text") {
            const auto [number, text] = numbered(value);
            t.rules[number].text = text;
        } else if (key == "program") {
            const auto [number, program] = numbered(value);
            t.rules[number].program = program;
        } else if (key == "notice-all") {
            t.noticeAll = value == "yes";
        } else if (key == "tempdir") {
            t.tempDirectory = value;
        } else if (key == "unique") {
            t.uniqueFile = std::stoi(value);
        } else if (key == "missing-dir") {
            t.missingDirectories.push_back(value);
        } else if (key == "disk-space") {
            t.diskSpace = std::stoul(value);
        } else if (key == "existing") {
            t.existingFiles.push_back(value);
        } else if (key == "event") {
            t.events.push_back(value);
        } else if (key == "saved") {
            lastSaved = value;
            t.files[lastSaved];
        } else if (key == "F") {
            t.files[lastSaved] += value + "\n";
        } else if (key == "unique-after") {
            t.uniqueAfter = std::stoi(value);
        } else if (key == "known-after") {
            t.knownAfter = std::stoi(value);
        } else if (key == "seen") {
            t.seen = value;
        } else if (key == "seen-after") {
            t.seenAfter = value;
        } else if (key == "urgent-notice") {
            t.urgentNotice = value == "yes";
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
    std::vector<std::string> events;
    std::map<std::string, std::string> files;
    std::int32_t uniqueFile = 0;
    int known = 0;
    std::string seen;
    bool urgentNotice = false;

    bool operator==(const Result&) const = default;
};

void applyRules(const Transcript& t, test::ProgramOnFakes& run) {
    MainWindowModel& window = run.window;
    window.UseRule = !t.rules.empty();
    window.NoticeAll = t.noticeAll;
    window.TEMPDIR.set(t.tempDirectory);
    window.uniqueFile = t.uniqueFile;
    for (const auto& [number, rule] : t.rules) {
        window.SBn[number].itemIndex.set(rule.field);
        window.En[number].set(rule.text);
        window.Urgentn[number].set(rule.urgent);
        window.DLn[number].set(rule.download);
        window.DELn[number].set(rule.remove);
        window.RunFilen[number].set(rule.program);
    }
    run.downloads.missingDirectories = t.missingDirectories;
    run.downloads.diskSpace = t.diskSpace;
    for (const std::string& path : t.existingFiles) {
        run.downloads.files[path] = "an earlier message\n";
    }
    // Program starts take their place among the download events.
    run.processes.onStart = [&run](const test::FakeProcesses::Start& start) {
        std::string line = "run";
        for (const std::string& argument : start.arguments) {
            line += " \"" + argument + "\"";
        }
        run.downloads.events.push_back(line);
    };
}

Result play(const Transcript& t, const std::vector<std::string>& pieces) {
    test::ProgramOnFakes run;
    run.setAccount(1, t.user, t.pass, t.host);
    run.cycle.lastNumKnown[1] = t.known;
    if (t.seen) {
        MessageIds& seen = run.cycle.seenIds[1].emplace();
        std::istringstream ids(*t.seen);
        for (std::string id; ids >> id;) {
            seen.insert(id);
        }
    }
    run.cycle.CCW[1] = t.greetedBefore;
    run.window.NewMLevelNumber.set(t.countOnly);
    applyRules(t, run);
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
    result.events = run.downloads.events;
    result.files = run.downloads.files;
    result.uniqueFile = run.window.uniqueFile;
    result.known = run.cycle.lastNumKnown[1];
    if (const std::optional<MessageIds>& seen = run.cycle.seenIds[1]) {
        for (const std::string& id : *seen) {
            result.seen += (result.seen.empty() ? "" : " ") + id;
        }
    } else {
        result.seen = "by count";
    }
    result.urgentNotice = run.ui.isWindowVisible(WindowId::UrgentNotice);
    // Every download started has been kept or dropped by the end.
    EXPECT_EQ(run.downloads.open, 0u);
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
    EXPECT_EQ(whole.events, t.events);
    EXPECT_EQ(whole.files, t.files);
    EXPECT_EQ(whole.uniqueFile, t.uniqueAfter.value_or(t.uniqueFile));
    if (t.knownAfter) {
        EXPECT_EQ(whole.known, *t.knownAfter);
    }
    if (t.seenAfter) {
        EXPECT_EQ(whole.seen, *t.seenAfter);
    }
    EXPECT_EQ(whole.urgentNotice, t.urgentNotice);
    for (std::size_t cut = 1; cut < t.serverBytes.size(); ++cut) {
        const Result split = play(t, {t.serverBytes.substr(0, cut), t.serverBytes.substr(cut)});
        if (!(split == whole)) {
            ADD_FAILURE() << "cut at " << cut << " of " << t.serverBytes.size();
            EXPECT_EQ(split.commands, whole.commands);
            EXPECT_EQ(split.log, whole.log);
            EXPECT_EQ(split.caption, whole.caption);
            EXPECT_EQ(split.list, whole.list);
            EXPECT_EQ(split.events, whole.events);
            EXPECT_EQ(split.files, whole.files);
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

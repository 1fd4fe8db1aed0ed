#pragma once
// A whole Program on fake ports, with the test playing the POP3 server of
// each connection the check opens.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "FakePorts.h"
#include "FakeProgramPorts.h"
#include "FakeSocketPort.h"
#include "app/Program.h"

namespace mivo::test {

// What a scripted server answers; every message's headers are sent as given
// (lines ending in CR LF), followed by the closing ".".
struct Mailbox {
    std::string greeting = "+OK ready";
    std::string passReply = "+OK";
    std::string stat = "+OK 0 0";
    std::vector<std::string> headers;  // message n at n - 1
    // The UIDL listing's ids, message n at n - 1; without them UIDL is
    // refused, as servers without it do.
    std::vector<std::string> ids;
    // The answer to CAPA: refused by default, else these lines and ".".
    std::vector<std::string> capabilities;
};

// An account as the user enters it: in its row of the accounts dialog and,
// once the dialog is closed, in the main window's fields.
inline void enterAccount(Program& program, int account, const std::string& user,
                         const std::string& pass, const std::string& pop) {
    AccountsDialogModel& dialog = program.accountsDialog();
    MainWindowModel& window = program.mainWindowModel();
    dialog.USERn[account].set(user);
    dialog.PASSn[account].set(pass);
    dialog.POPn[account].set(pop);
    window.accountUser(account).set(user);
    window.accountPass(account).set(pass);
    window.accountPop(account).set(pop);
}

// One Program on fake ports and the means to play its servers; a test may
// build as many as it likes.
class ProgramOnFakes : public FakeProgramPorts {
public:
    ProgramOnFakes() {
        timers.clock = &clock;
        // What the windows' hide events run in the desktop program.
        ui.onHidden[WindowId::Accounts] = [this] { program.accountsDialogBehaviour().FormHide(); };
        ui.onHidden[WindowId::LogViewer] = [this] { program.logViewerBehaviour().FormHide(); };
        ui.onHidden[WindowId::NewMail] = [this] { program.newMailWindowBehaviour().FormHide(); };
        ui.onHidden[WindowId::UrgentNotice] = [this] {
            program.urgentNoticeBehaviour().FormHide();
        };
        program.bringIntoService();
        program.log().onAppend([this](std::string_view text) { logLines.emplace_back(text); });
    }

    void setAccount(int account, const std::string& user, const std::string& pass,
                    const std::string& pop) {
        enterAccount(program, account, user, pass, pop);
    }

    void checkNow() { program.mainWindow().Button4Click(); }
    void tick(int count = 1) {
        for (int i = 0; i < count; ++i) {
            timers.tick(TimerId::Timer1);
        }
    }

    // Real time passes: the connection watch fires whenever it is due.
    void passTime(std::int64_t milliseconds) {
        timers.passTime(clock, milliseconds, TimerId::ConnectionWatch);
    }

    // The socket of the connection being opened or held now.
    SocketHandle server() const { return sockets.lastSocket(); }
    void accept() { sockets.connectSucceeds(server()); }
    void say(std::string_view bytes) { sockets.serverSends(server(), bytes); }
    const std::string& sent() { return sockets.socket(server()).sent; }

    // Plays one whole conversation on the current connection: greets,
    // answers each command as it arrives and hangs up after QUIT. Returns
    // every byte the client sent.
    std::string serve(const Mailbox& box) {
        sockets.connectSucceeds(server());
        return converse(box);
    }

    // The same on a connection already made (a TLS one, say).
    std::string converse(const Mailbox& box) {
        const SocketHandle socket = server();
        sockets.serverSends(socket, box.greeting + "\r\n");
        std::size_t seen = 0;
        for (;;) {
            const std::string& out = sockets.socket(socket).sent;
            const std::size_t end = out.find("\r\n", seen);
            if (end == std::string::npos) {
                break;
            }
            const std::string command = out.substr(seen, end - seen);
            seen = end + 2;
            if (beforeAnswer) {
                beforeAnswer(command);
            }
            if (command == "QUIT") {
                sockets.serverSends(socket, "+OK bye\r\n");
                break;
            }
            sockets.serverSends(socket, answer(box, command));
        }
        const std::string transcript = sockets.socket(socket).sent;
        sockets.serverCloses(socket);
        return transcript;
    }

    static std::string answer(const Mailbox& box, const std::string& command) {
        if (command.rfind("PASS ", 0) == 0) {
            return box.passReply + "\r\n";
        }
        if (command == "STAT") {
            return box.stat + "\r\n";
        }
        if (command == "UIDL") {
            if (box.ids.empty()) {
                return "-ERR not supported\r\n";
            }
            std::string listing = "+OK\r\n";
            for (std::size_t n = 1; n <= box.ids.size(); ++n) {
                listing += std::to_string(n) + " " + box.ids[n - 1] + "\r\n";
            }
            return listing + ".\r\n";
        }
        if (command == "CAPA") {
            return box.capabilities.empty() ? "-ERR unknown command\r\n"
                                            : capabilitiesAnswer(box.capabilities);
        }
        if (command.rfind("TOP ", 0) == 0) {
            const std::size_t number = std::stoul(command.substr(4));
            return "+OK\r\n" + box.headers.at(number - 1) + ".\r\n";
        }
        return "+OK\r\n";
    }

    static std::string capabilitiesAnswer(const std::vector<std::string>& names) {
        std::string answer = "+OK\r\n";
        for (const std::string& name : names) {
            answer += name + "\r\n";
        }
        return answer + ".\r\n";
    }

    bool logged(std::string_view line) const {
        return std::find(logLines.begin(), logLines.end(), line) != logLines.end();
    }
    bool captioned(std::string_view caption) const {
        return std::find(ui.applicationTitles.begin(), ui.applicationTitles.end(), caption) !=
               ui.applicationTitles.end();
    }
    // The Log lines without the tick's own line, which every step adds.
    std::vector<std::string> logWithoutTicks() const {
        std::vector<std::string> lines;
        for (const std::string& line : logLines) {
            if (line != "Timer 1 called") {
                lines.push_back(line);
            }
        }
        return lines;
    }

    ProgramOnFakes(const ProgramOnFakes&) = delete;
    ProgramOnFakes& operator=(const ProgramOnFakes&) = delete;

    Program program{ports()};
    MainWindowModel& window = program.mainWindowModel();
    CycleState& cycle = program.cycleState();
    AccountsDialogModel& accounts = program.accountsDialog();
    std::vector<std::string> logLines;
    // Runs as serve() and converse() come to each command, before answering.
    std::function<void(const std::string& command)> beforeAnswer;
};

class CheckFixture : public ::testing::Test, public ProgramOnFakes {};

}  // namespace mivo::test

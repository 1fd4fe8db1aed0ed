#include "pop3/Pop3Session.h"

#include <algorithm>
#include <cstdint>

#include "text/IntegerText.h"
#include "text/MemoText.h"
#include "transport/SocketErrorCodes.h"
#include "transport/SocketErrorText.h"

namespace mivo {

namespace {

constexpr std::string_view kQuit = "QUIT\r\n";
constexpr std::size_t kUserNameLimit = 200;

// Every USER and PASS command gets its line end, however long the name or
// password: a command without one leaves the server waiting for ever.
void AppendCrLf(std::string& command) {
    command += "\r\n";
}

bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

bool hasLineEnd(std::string_view line) {
    return contains(line, "\r") || contains(line, "\n");
}

// The counts come from the server's STAT and may be any int, so the next
// message number is worked out in a wider type.
std::string topCommandAfter(int known) {
    return "TOP " + std::to_string(std::int64_t{known} + 1) + " 0\r\n";
}

}  // namespace

Pop3Session::Pop3Session(CheckContext& context) : m_context(context), m_summary(context) {}

TcpEventHandler Pop3Session::SessionCallback() {
    return [this](int event, const char* data, int length) {
        return HandleTcpEvent(event, data, length);
    };
}

int Pop3Session::HandleTcpEvent(int event, const char* data, int length) {
    const std::string_view text =
        data == nullptr || length <= 0 ? std::string_view{} : std::string_view(data, length);
    if (event == TcpConnected) {
        connected();
    } else if (event == TcpClosed) {
        closed(text);
    } else {
        receivedLine(text);
    }
    return 0;
}

// Every line after an error repeats the whole error report with all the
// lines so far. The error and the answer to QUIT are reported; a server that
// goes on talking after that is not listened to, and its connection ends as a
// silent one does.
bool Pop3Session::ignoringServer() const {
    return m_errorRuns >= kReportedErrorLines && stage() == '8';
}

char Pop3Session::stage() const {
    const std::string& line = m_context.window.Memo2.get();
    return line.empty() ? '\0' : line.front();
}

void Pop3Session::setStage(const std::string& line, bool logged) {
    m_context.window.Memo2.set(line);
    if (logged) {
        m_context.log.append(m_context.window.Memo2.get());
    }
}

void Pop3Session::connected() {
    CycleState& cycle = m_context.cycle;
    m_context.log.append("###Got Connection");
    cycle.connected = true;
    cycle.connecting = false;
    cycle.silentTicks = 0;
    m_heldBytes = 0;
    m_errorRuns = 0;
    m_context.window.PacketBuffer.set("");
    m_context.log.append("TCP CONNECTED.");
}

void Pop3Session::receivedLine(std::string_view line) {
    MainWindowModel& window = m_context.window;
    if (ignoringServer()) {
        return;
    }
    m_context.cycle.silentTicks = 0;
    if (m_packetDone) {
        window.PacketBuffer.set("");
    }
    if (window.PacketBuffer.get().size() < kResponseLimit || line == ".") {
        window.PacketBuffer.edit([line](std::string& text) { memo::addLine(text, line); });
    }

    char code = stage();
    if (window.PacketBuffer.get().front() == '-') {
        errorPath();
        code = '8';
    }

    if (!responseComplete(code, line)) {
        m_packetDone = false;
        return;
    }

    m_context.log.append("----Got The Packet for this status-----");
    window.Memo1.set(window.PacketBuffer.get());
    m_packetDone = true;
    const int account = m_context.cycle.Account;
    m_topCommand = topCommandAfter(m_context.cycle.lastNumKnown[account]);
    runAction(code);
}

bool Pop3Session::responseComplete(char code, std::string_view line) {
    bool complete = false;
    switch (code) {
        case '0':
            complete = contains(line, "+OK\r\n");
            m_context.log.append(complete ? "Packet for state 0, quitting."
                                          : "Packet for state 0??");
            break;
        case '1':
        case '2':
        case '3':
        case '6':
        case '7':
            complete = contains(line, "+OK") || hasLineEnd(line);
            break;
        case '5':
            complete = contains(line, "+OK") || contains(line, "\r\n");
            break;
        case '8':
            complete = hasLineEnd(line);
            break;
        case 'A':
        case 'D':
        case 'F':
            complete = true;
            break;
        case 'B':
        case 'E':
            complete = line == ".";
            break;
        default:
            break;
    }
    return complete;
}

void Pop3Session::runAction(char code) {
    MainWindowModel& window = m_context.window;
    CycleState& cycle = m_context.cycle;
    const int account = cycle.Account;
    switch (code) {
        case '1': {
            cycle.CCW[account] = true;
            std::string command = "USER " + window.User.get().substr(0, kUserNameLimit);
            AppendCrLf(command);
            window.Memo2.set("2 - Sending USER(");
            window.Memo2.edit([&](std::string& text) { memo::addLine(text, command); });
            m_context.log.append(window.Memo2.get());
            m_context.send(command);
            break;
        }
        case '2': {
            std::string command = "PASS " + window.Pass.get();
            AppendCrLf(command);
            setStage("3 - Sending PASS(I wont say!)", true);
            m_context.send(command);
            break;
        }
        case '3':
            window.Memo4.set("");
            setStage("5 - Sending STAT.", true);
            m_context.send("STAT\r\n");
            break;
        case '5':
            statReceived();
            break;
        case '6':
            m_context.accountsDialog.Memon[account].set("");
            setStage("0 - Nothing Happening.", true);
            break;
        case '7':
            setStage("0 - Nothing Happening got new mail.\r\n", true);
            m_context.accountsDialog.Memon[account].set(window.Memo4.get());
            break;
        case '8':
            setStage("0 - Nothing Happening, had an error though.\r\n", true);
            cycle.settingsOk = false;
            cycle.accountError[account] = true;
            break;
        case 'A':
            setStage("B - Recieved Octet notification, waiting for data.", true);
            break;
        case 'B':
            headersReceived();
            break;
        // D, E and F are reached only through the download and delete actions
        // of rules; saving, deleting and running programs come with them.
        case 'D':
            setStage("E - Download EMAIL.", false);
            break;
        case 'E':
            nextMessageStep("E - We have recieved all of the EMAILS.");
            break;
        case 'F':
            nextMessageStep("B - We have recieved all of the EMAILS.");
            break;
        default:
            break;
    }
}

void Pop3Session::statReceived() {
    MainWindowModel& window = m_context.window;
    CycleState& cycle = m_context.cycle;
    const int account = cycle.Account;
    cycle.newMailCount = 0;
    const std::string& response = window.Memo1.get();
    // The count follows "+OK ". A mailbox never holds fewer than no
    // messages, whatever a server says.
    cycle.numonser[account] =
        std::max(0, readInteger(response.size() > 4 ? std::string_view(response).substr(4)
                                                    : std::string_view{}));
    const int onServer = cycle.numonser[account];
    if (onServer < cycle.lastNumKnown[account]) {
        // Messages were deleted elsewhere: everything on the server is new.
        cycle.lastNumKnown[account] = 0;
    }
    window.Memo4.set("");

    if (!UseRule() && window.NewMLevelNumber.get() && onServer != cycle.lastNumKnown[account]) {
        setStage("7 - Logging out, just checked # of email.\r\n", false);
        m_context.send(kQuit);
        window.Memo4.set(std::to_string(std::int64_t{onServer} - cycle.lastNumKnown[account]) +
                         " New Emails!\r\n");
        cycle.lastNumKnown[account] = onServer;
        return;
    }

    m_topCommand = topCommandAfter(cycle.lastNumKnown[account]);
    setStage("5 - STAT recieved.\r\n", true);
    Log& log = m_context.log;
    log.append("Values ::");
    log.append("VA1");
    log.append("numonser " + std::to_string(onServer) + " lastNumKnown[Account] " +
               std::to_string(cycle.lastNumKnown[account]) + "  " + m_topCommand);
    log.append("AV2");

    if (cycle.lastNumKnown[account] >= onServer) {
        setStage("5 - There are no new emails.\r\n", true);
        setStage("6 - Logging out.\r\n", true);
        m_context.send(kQuit);
        return;
    }
    setStage("A - Begin Retriveing List of New EMAILS.", true);
    log.append("VA3");
    m_summary.RequestNextHeaders(m_topCommand);
}

void Pop3Session::headersReceived() {
    m_summary.summariseHeaders(m_topCommand);
    // The rules would decide here which messages are downloaded or deleted.
    if (m_context.cycle.terminating) {
        setStage("7 - Logging out, application is terminating <sniff>.", true);
        m_context.send(kQuit);
        return;
    }
    nextMessageStep("B - We have recieved all of the EMAILS.");
}

void Pop3Session::nextMessageStep(const std::string& stageLine) {
    const CycleState& cycle = m_context.cycle;
    const int account = cycle.Account;
    if (cycle.lastNumKnown[account] < cycle.numonser[account]) {
        m_summary.RequestNextHeaders(m_topCommand);
        return;
    }
    setStage(stageLine, true);
    setStage(
        cycle.newMailCount != 0 ? "7 - Logging out with mail." : "6 - Logging out without mail.",
        true);
    m_context.send(kQuit);
}

void Pop3Session::errorPath() {
    MainWindowModel& window = m_context.window;
    CycleState& cycle = m_context.cycle;
    const int account = cycle.Account;
    const char before = stage();
    m_errorRuns += 1;
    cycle.accountError[account] = true;
    window.Memo2.set("8 - ERROR Occured at stage : " + window.Memo2.get() + " : Quitting\r\n");
    cycle.settingsOk = false;
    m_context.log.append(window.Memo2.get());
    m_context.send(kQuit);
    if (before == '2' || before == '3') {
        m_context.setCaption(window.PacketBuffer.get() + " - Mivo");
        return;
    }
    const std::string line =
        "Account #" + std::to_string(account) + " ERROR = " + window.PacketBuffer.get();
    m_context.addError(line);
    m_context.showAccountsDialog();
    m_context.setCaption(line);
    m_context.log.append(line);
}

void Pop3Session::closed(std::string_view errorText) {
    MainWindowModel& window = m_context.window;
    CycleState& cycle = m_context.cycle;
    const int account = cycle.Account;
    if (cycle.connecting && !cycle.CCW[account]) {
        const std::string line = "Account #" + std::to_string(account) +
                                 " Error while opening connection to host (" + window.POP.get() +
                                 ")";
        m_context.addError(line);
        cycle.accountError[account] = true;
        m_context.showAccountsDialog();
        m_context.log.append(line);
        cycle.settingsOk = false;
    }
    m_context.log.append("###Channel Closing");
    if (errorText.size() <= 1) {
        cycle.settingsOk = true;
    } else if (cycle.CCW[account]) {
        // The server answered before: blame the network, not the account.
        m_context.setCaption("Network Inactive - Mivo");
        cycle.settingsOk = true;
    } else {
        m_context.setCaption("(" + window.User.get() + ")" + std::string(errorText) + " - Mivo");
    }
    m_context.transport.TcpClose(cycle.transportSlot);
    m_context.log.append(" TCP closed");
    cycle.connected = false;
    cycle.connecting = false;
    if (cycle.terminating) {
        m_context.ui.terminateApplication();
    }
    window.TickCount = 0;
    m_context.mainWindow.Timer1Timer();
    m_context.mainWindow.Button4Click();
}

void Pop3Session::countSilentTick() {
    CycleState& cycle = m_context.cycle;
    if (!cycle.connected) {
        return;
    }
    // Bytes of a line still being received count as life too.
    const std::size_t held = m_context.transport.receiveLength(cycle.transportSlot);
    if (held != m_heldBytes && !ignoringServer()) {
        m_heldBytes = held;
        cycle.silentTicks = 0;
    }
    cycle.silentTicks += 1;
    if (cycle.silentTicks < kSilentTickLimit) {
        return;
    }
    cycle.silentTicks = 0;
    const std::string text = "Select failed " + socketErrorText(socket_error::TimedOut);
    HandleTcpEvent(TcpClosed, text.c_str(), static_cast<int>(text.size()));
}

}  // namespace mivo

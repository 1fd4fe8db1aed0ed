#pragma once
// The POP3 conversation with one account during a check: a state machine fed
// with the connection's lines by the check cycle, which owns the connection.
// It sends its commands through the cycle and reports its end with one call.
// With rules in use, each new message's headers go through the rules, and a
// matching rule's RETR and DELE are sent in the same conversation before the
// next message is looked at. For five new messages or more it asks CAPA, and
// a server that offers PIPELINING gets the TOPs ahead of their answers,
// unless a rule may download or delete.
//
// Call order for one account: begin(), connected(), lineReceived() for each
// line, or bytesReceived() for the reply's bytes while receivingMessage();
// the session calls `ended` once when the conversation is over (QUIT
// acknowledged, or the error and the answer to its QUIT reported). If the
// connection ends first, the cycle calls connectionEnded(), which reports
// the end then.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "launch/Launcher.h"
#include "model/AccountsDialogModel.h"
#include "model/CycleState.h"
#include "model/MainWindowModel.h"
#include "pop3/HeaderPipeline.h"
#include "pop3/MessageActions.h"
#include "pop3/MessageReader.h"
#include "pop3/NewMailList.h"
#include "pop3/NewMessages.h"
#include "pop3/ReplyCollector.h"
#include "pop3/SessionOutcome.h"
#include "pop3/Stage.h"
#include "pop3/UidListing.h"
#include "ports/DownloadPort.h"
#include "report/CheckReports.h"

namespace mivo {

class Pop3Session {
public:
    // Sends commands, each asking for a reply; no bytes at all say that the
    // reply to a command sent before is the one awaited from now on.
    using Send = std::function<void(std::string_view bytes)>;

    struct Parts {
        MainWindowModel& window;  // the stage, reply and list registers
        CycleState& cycle;        // counts and flags of the account being checked
        AccountsDialogModel& accountsDialog;
        CheckReports& reports;
        DownloadPort& downloads;  // where the rules' downloads go
        Launcher& launcher;       // what runs the rules' programs
    };

    Pop3Session(Parts parts, Send send, SessionEnded ended);

    // A new conversation with account `Account`, before its connection opens.
    void begin();
    void connected();
    void lineReceived(std::string_view line);
    // A message a rule downloads is read from the reply's bytes, not its
    // lines, so that it is saved as the server sent it whatever its lines.
    bool receivingMessage() const { return m_stage == Stage::ReceivingMessage; }
    // Returns how many of `bytes` belong to the message, its final "." line
    // included; once it has ended, the rest is the server's next reply.
    std::size_t bytesReceived(std::string_view bytes);
    // The connection ended; a conversation not over yet ends now, keeping the
    // new mail it had already listed.
    void connectionEnded();
    // The connection was dropped without a word to the conversation (Reset):
    // a message being downloaded leaves nothing behind.
    void connectionDropped() { m_actions.abandonDownload(); }
    bool isOver() const { return m_stage == Stage::Over; }
    // The reply awaited is a whole message (RETR).
    bool awaitsMessage() const {
        return m_stage == Stage::RequestedMessage || m_stage == Stage::ReceivingMessage;
    }

private:
    enum class Logged { No, Yes };

    // The one place the stage changes. Memo2 shows `stageLine`; without one
    // it keeps the line it has.
    void enter(Stage next, const std::optional<std::string>& stageLine, Logged logged);
    void end(SessionOutcome::Result result);

    void replyComplete(Stage stage);
    void handleReply(Stage stage);
    void greetingAccepted();
    void userAccepted();
    void passwordAccepted();
    void statReceived();
    void uidlAnswered();
    void idLineReceived(std::string_view line);
    void sortOutNewMessages(bool listed);
    void capabilitiesKnown();
    void quitAcknowledged(Stage stage);
    void endAfterError();
    void headersReceived();
    void takeMatchActions(int rule);
    void messageDownloaded();
    void messageDeleted();
    void requestDelete();
    void sendMessageCommand(std::string_view command);
    void RequestNextHeaders();
    void nextMessageStep(Stage stage, const std::string& stageLine);
    void refused(std::string_view received);
    void deletionsDone();
    void keepListedMail();

    static ReplyCollector::Ending endingOf(Stage stage);
    int account() const { return m_cycle.Account; }
    int& lastNumKnown() { return m_cycle.lastNumKnown[m_cycle.Account]; }
    std::optional<MessageIds>& seenIds() { return m_cycle.seenIds[m_cycle.Account]; }

    MainWindowModel& m_window;
    CycleState& m_cycle;
    AccountsDialogModel& m_accountsDialog;
    CheckReports& m_reports;
    Send m_send;
    SessionEnded m_ended;
    Stage m_stage = Stage::Over;
    HeaderPipeline m_pipeline;
    ReplyCollector m_replies;
    NewMailList m_list;
    MessageActions m_actions;
    MessageReader m_message;
    std::string m_messageBytes;  // what one piece of the reply held of the message
    std::string m_topCommand;
    UidListing m_listing;
    bool m_byIds = false;  // this check tells new mail by the listing's ids
    NewMessages m_new;
    std::int64_t m_current = 0;  // the message whose headers were asked for last
    // Messages this conversation deleted; the server renumbers the rest
    // once it has acknowledged QUIT.
    int m_deleted = 0;
    std::vector<std::string> m_deletedIds;
};

}  // namespace mivo

#include "pop3/Pop3Session.h"

#include <algorithm>
#include <cstdint>

#include "pop3/HeaderSummary.h"
#include "pop3/RuleMatching.h"
#include "text/AccountTag.h"
#include "text/IntegerText.h"
#include "text/MemoText.h"

namespace mivo {

namespace {

constexpr std::string_view kQuit = "QUIT\r\n";
constexpr std::size_t kUserNameLimit = 200;

// Every USER and PASS command gets its line end, however long the name or
// password: a command without one leaves the server waiting for ever.
void AppendCrLf(std::string& command) {
    command += "\r\n";
}

// Below this many messages to summarise, the round trips saved do not pay
// for asking the server what it can do.
constexpr std::int64_t kFewestToSendAhead = 5;

std::string withLine(std::string text, std::string_view line) {
    memo::addLine(text, line);
    return text;
}

}  // namespace

Pop3Session::Pop3Session(Parts parts, Send send, SessionEnded ended)
    : m_window(parts.window),
      m_cycle(parts.cycle),
      m_accountsDialog(parts.accountsDialog),
      m_reports(parts.reports),
      m_send(std::move(send)),
      m_ended(std::move(ended)),
      m_pipeline([this](std::string_view commands) { m_send(commands); }),
      m_replies(parts.window.PacketBuffer),
      m_list(parts.window.Memo4),
      m_actions({parts.window, parts.downloads, parts.launcher, parts.reports}) {}

void Pop3Session::enter(Stage next, const std::optional<std::string>& stageLine, Logged logged) {
    m_stage = next;
    if (stageLine) {
        m_window.Memo2.set(*stageLine);
    }
    if (logged == Logged::Yes) {
        m_reports.log(m_window.Memo2.get());
    }
}

void Pop3Session::end(SessionOutcome::Result result) {
    // A message whose download did not finish leaves nothing behind.
    m_actions.abandonDownload();
    m_listing.clear();
    enter(Stage::Over, std::nullopt, Logged::No);
    m_ended(account(), SessionOutcome{result});
}

void Pop3Session::begin() {
    m_list.forget();
    m_byIds = false;
    m_listing.clear();  // what a connection dropped by Reset left
    m_new = NewMessages{};
    m_pipeline.reset();
    m_deleted = 0;
    m_deletedIds.clear();
    enter(Stage::Connecting, "1 - Connecting to host", Logged::Yes);
}

void Pop3Session::connected() {
    m_replies.startConnection();
    m_reports.log("TCP CONNECTED.");
}

ReplyCollector::Ending Pop3Session::endingOf(Stage stage) {
    using Ending = ReplyCollector::Ending;
    switch (stage) {
        case Stage::Connecting:
        case Stage::SentUser:
        case Stage::SentPass:
        case Stage::LoggingOut:
        case Stage::LoggingOutWithMail:
            return Ending::StatusLine;
        case Stage::SentStat:
            return Ending::StatLine;
        case Stage::SentUidl:
            return Ending::FirstLine;
        case Stage::Failed:
            return Ending::LineBreak;
        case Stage::RequestedHeaders:
        case Stage::RequestedMessage:
        case Stage::Deleting:
            return Ending::FirstLine;
        case Stage::ReceivingIds:
        case Stage::ReceivingHeaders:
        case Stage::ReceivingMessage:
            return Ending::DotLine;
        case Stage::AskedCapabilities:
        case Stage::Over:
            break;
    }
    return Ending::Never;
}

void Pop3Session::lineReceived(std::string_view line) {
    // Once QUIT is answered, or an error and the answer to its QUIT are
    // reported, whatever a server still says is not listened to.
    if (isOver() || m_pipeline.skips(line)) {
        return;
    }
    if (m_stage == Stage::AskedCapabilities) {
        if (m_pipeline.capabilityLine(line)) {
            capabilitiesKnown();
        }
        return;
    }
    if (m_stage == Stage::ReceivingIds) {
        idLineReceived(line);
        return;
    }
    m_replies.add(line);
    Stage stage = m_stage;
    // A server that cannot list ids is no failure: it is checked by count.
    if (m_replies.refused() && stage != Stage::SentUidl) {
        refused(line);
        if (isOver()) {
            return;
        }
        stage = Stage::Failed;
    }
    if (!ReplyCollector::completes(endingOf(stage), line)) {
        m_replies.continueReply();
        return;
    }
    replyComplete(stage);
}

// A downloaded message goes to its file as it arrives, never into the reply,
// so its size costs no memory. Its lines are the message's own: one
// beginning with "-" is no refusal.
std::size_t Pop3Session::bytesReceived(std::string_view bytes) {
    if (!receivingMessage()) {
        return 0;
    }
    m_messageBytes.clear();
    const std::size_t taken = m_message.take(bytes, m_messageBytes);
    m_actions.downloadBytes(m_messageBytes);
    if (m_message.ended()) {
        m_replies.add(".");
        replyComplete(Stage::ReceivingMessage);
    }
    return taken;
}

void Pop3Session::replyComplete(Stage stage) {
    m_reports.log("----Got The Packet for this status-----");
    m_window.Memo1.set(m_replies.text());
    m_replies.finish();
    m_topCommand = topCommand(m_new.upcoming());
    handleReply(stage);
}

void Pop3Session::handleReply(Stage stage) {
    switch (stage) {
        case Stage::Connecting:
            greetingAccepted();
            break;
        case Stage::SentUser:
            userAccepted();
            break;
        case Stage::SentPass:
            passwordAccepted();
            break;
        case Stage::SentStat:
            statReceived();
            break;
        case Stage::SentUidl:
            uidlAnswered();
            break;
        case Stage::LoggingOut:
        case Stage::LoggingOutWithMail:
            quitAcknowledged(stage);
            break;
        case Stage::Failed:
            endAfterError();
            break;
        case Stage::RequestedHeaders:
            enter(Stage::ReceivingHeaders, "B - Recieved Octet notification, waiting for data.",
                  Logged::Yes);
            break;
        case Stage::ReceivingHeaders:
            headersReceived();
            break;
        case Stage::RequestedMessage:
            enter(Stage::ReceivingMessage, "E - Download EMAIL.", Logged::No);
            m_message.begin();
            m_actions.startDownload();
            break;
        case Stage::ReceivingMessage:
            messageDownloaded();
            break;
        case Stage::Deleting:
            messageDeleted();
            break;
        case Stage::ReceivingIds:
        case Stage::AskedCapabilities:
        case Stage::Over:
            break;
    }
}

void Pop3Session::greetingAccepted() {
    m_cycle.CCW[account()] = true;
    std::string command = "USER " + m_window.User.get().substr(0, kUserNameLimit);
    AppendCrLf(command);
    enter(Stage::SentUser, withLine("2 - Sending USER(", command), Logged::Yes);
    m_send(command);
}

void Pop3Session::userAccepted() {
    std::string command = "PASS " + m_window.Pass.get();
    AppendCrLf(command);
    // The password itself never reaches the Log.
    enter(Stage::SentPass, "3 - Sending PASS(I wont say!)", Logged::Yes);
    m_send(command);
}

void Pop3Session::passwordAccepted() {
    m_list.clear();
    enter(Stage::SentStat, "5 - Sending STAT.", Logged::Yes);
    m_send("STAT\r\n");
}

void Pop3Session::statReceived() {
    m_cycle.newMailCount = 0;
    const std::string& reply = m_window.Memo1.get();
    // The count follows "+OK ". A mailbox never holds fewer than no
    // messages, whatever a server says.
    const int onServer = std::max(
        0, readInteger(reply.size() > 4 ? std::string_view(reply).substr(4) : std::string_view{}));
    m_cycle.numonser[account()] = onServer;
    if (onServer == 0) {
        sortOutNewMessages(false);
        return;
    }
    enter(Stage::SentUidl, "5 - Sending UIDL.", Logged::Yes);
    m_send("UIDL\r\n");
}

void Pop3Session::uidlAnswered() {
    if (m_window.Memo1.get().starts_with("+OK")) {
        enter(Stage::ReceivingIds, std::nullopt, Logged::No);
        m_listing.begin(m_cycle.numonser[account()]);
        return;
    }
    sortOutNewMessages(false);
}

// The listing's lines bypass the reply gathered in PacketBuffer: a large
// mailbox's listing is kept only as its ids.
void Pop3Session::idLineReceived(std::string_view line) {
    if (line != ".") {
        m_listing.add(line);
        return;
    }
    const bool usable = m_listing.usable();
    if (!usable) {
        m_reports.log("5 - UIDL list not usable, counting messages.");
    }
    sortOutNewMessages(usable);
}

// Where the server listed its ids a message is new when its id was not
// seen, so mail deleted elsewhere neither hides new mail nor brings old mail
// back. Without them, messages after the ones seen are new.
void Pop3Session::sortOutNewMessages(bool listed) {
    const int onServer = m_cycle.numonser[account()];
    std::optional<MessageIds>& seen = seenIds();
    if (onServer < lastNumKnown()) {
        // Messages were deleted elsewhere: by count everything on the server
        // is new.
        lastNumKnown() = 0;
    }
    m_byIds = listed;
    if (listed) {
        if (!seen) {
            // What was counted before the server's ids were kept: its first
            // messages.
            seen.emplace();
            for (int number = 1; number <= lastNumKnown(); ++number) {
                seen->emplace(m_listing.id(number));
            }
        }
        m_new.notIn(m_listing, *seen);
        // Only the ids still on the server are kept.
        MessageIds kept;
        for (int number = 1; number <= m_listing.size(); ++number) {
            if (const auto id = seen->find(m_listing.id(number)); id != seen->end()) {
                kept.insert(kept.end(), seen->extract(id));
            }
        }
        seen = std::move(kept);
        lastNumKnown() = onServer - m_new.count();
    } else {
        if (onServer == 0 && seen) {
            // An empty mailbox lists nothing and keeps being known by ids.
            seen->clear();
        } else {
            seen.reset();
        }
        m_new.after(lastNumKnown(), onServer);
    }
    m_list.begin();

    if (!m_window.UseRule && m_window.NewMLevelNumber.get() && onServer != lastNumKnown()) {
        enter(Stage::LoggingOutWithMail, "7 - Logging out, just checked # of email.\r\n",
              Logged::No);
        m_send(kQuit);
        m_list.replace(std::to_string(std::int64_t{onServer} - lastNumKnown()) +
                       " New Emails!\r\n");
        lastNumKnown() = onServer;
        while (m_byIds && m_new.remaining()) {
            seen->emplace(m_listing.id(static_cast<int>(m_new.take())));
        }
        return;
    }

    m_topCommand = topCommand(m_new.upcoming());
    enter(Stage::SentStat, "5 - STAT recieved.\r\n", Logged::Yes);
    m_reports.log("Values ::");
    m_reports.log("VA1");
    m_reports.log("numonser " + std::to_string(onServer) + " lastNumKnown[Account] " +
                  std::to_string(lastNumKnown()) + "  " + m_topCommand);
    m_reports.log("AV2");

    if (lastNumKnown() >= onServer) {
        enter(Stage::SentStat, "5 - There are no new emails.\r\n", Logged::Yes);
        enter(Stage::LoggingOut, "6 - Logging out.\r\n", Logged::Yes);
        m_send(kQuit);
        return;
    }
    enter(Stage::RequestedHeaders, "A - Begin Retriveing List of New EMAILS.", Logged::Yes);
    m_reports.log("VA3");
    // A rule's RETR or DELE has to follow its message's headers at once;
    // with TOPs sent ahead their answers would come first. A check whose
    // rules may download or delete keeps to one command at a time.
    if (m_new.count() >= kFewestToSendAhead && !rulesActOnServer(m_window)) {
        // Memo2 keeps its line: the answer is no step of the check.
        enter(Stage::AskedCapabilities, std::nullopt, Logged::No);
        m_pipeline.askCapabilities();
        return;
    }
    RequestNextHeaders();
}

void Pop3Session::capabilitiesKnown() {
    // The commands sent ahead walk their own copy of the messages to
    // summarise, in the order the session takes them.
    m_pipeline.startIfOffered([ahead = m_new]() mutable {
        return ahead.remaining() ? std::optional<std::int64_t>(ahead.take()) : std::nullopt;
    });
    RequestNextHeaders();
}

void Pop3Session::RequestNextHeaders() {
    enter(Stage::RequestedHeaders, withLine("A - Requesting subject and from for ", m_topCommand),
          Logged::Yes);
    m_reports.caption(accountTag(account()) + "(" + m_window.User.get() + ")(" +
                      std::to_string(lastNumKnown() + 1) + " of " +
                      std::to_string(m_cycle.numonser[account()]) + ") Getting new Mail - Mivo");
    // Sent now, or already on its way: what is said and counted for it
    // happens as its answer is read, as it does one command at a time.
    m_current = m_new.take();
    m_pipeline.request(m_current);
    // From now on this message counts as seen, whatever happens next.
    lastNumKnown() += 1;
    if (m_byIds) {
        seenIds()->emplace(m_listing.id(static_cast<int>(m_current)));
    }
}

void Pop3Session::headersReceived() {
    enter(Stage::ReceivingHeaders, "B - Recieved data, processing...", Logged::Yes);
    m_reports.log("-----Data extracted from file-----");
    const std::string& headers = m_replies.text();
    RuleMatch match;
    if (m_window.UseRule) {
        m_reports.log("Using Rules...");
        match = matchRules(m_window, headers);
        m_cycle.newMailCount += match.matchedLines;
        m_cycle.urgent = m_cycle.urgent || match.urgent;
    } else {
        m_cycle.newMailCount += 1;
    }
    if (m_window.UseRule && m_window.NoticeAll && match.rule == 0) {
        // "If none match, show notice of new email": the notice is mail,
        // also when no other message of the check matched.
        m_cycle.newMailCount += 1;
        m_list.add("Email diddn't match any rule.");
    } else {
        m_list.add(senderSubjectLine(headers));
    }
    m_reports.log("-----EODEFF-----");
    const std::string known = std::to_string(lastNumKnown());
    m_reports.log("Values ::");
    m_reports.log("numonser " + std::to_string(m_cycle.numonser[account()]) + " old\"" + known +
                  " lastk" + known + " " + m_topCommand);

    if (m_cycle.terminating) {
        enter(Stage::LoggingOutWithMail, "7 - Logging out, application is terminating <sniff>.",
              Logged::Yes);
        m_pipeline.abandon();
        m_send(kQuit);
        return;
    }
    if (match.rule != 0) {
        takeMatchActions(match.rule);
        return;
    }
    nextMessageStep(Stage::ReceivingHeaders, "B - We have recieved all of the EMAILS.");
}

// For every option set: RETR, the file written, DELE, then the program, so
// that a program always starts on a file already closed.
void Pop3Session::takeMatchActions(int rule) {
    m_actions.take(rule);
    if (m_actions.downloads()) {
        enter(Stage::RequestedMessage, "D - Download EMAIL.", Logged::No);
        sendMessageCommand("RETR ");
        return;
    }
    if (m_actions.deletes()) {
        requestDelete();
        return;
    }
    m_actions.runProgram();
    nextMessageStep(Stage::ReceivingHeaders, "B - We have recieved all of the EMAILS.");
}

void Pop3Session::messageDownloaded() {
    m_actions.finishDownload();
    // A message that could not be saved stays on the server: deleting it
    // would lose it.
    if (m_actions.mayDelete()) {
        requestDelete();
        return;
    }
    m_actions.runProgram();
    nextMessageStep(Stage::ReceivingMessage, "E - We have recieved all of the EMAILS.");
}

void Pop3Session::messageDeleted() {
    m_deleted += 1;
    if (m_byIds) {
        m_deletedIds.emplace_back(m_listing.id(static_cast<int>(m_current)));
    }
    m_actions.runProgram();
    nextMessageStep(Stage::ReceivingHeaders, "B - We have recieved all of the EMAILS.");
}

void Pop3Session::requestDelete() {
    enter(Stage::Deleting, "F - Delete EMAIL.", Logged::No);
    sendMessageCommand("DELE ");
}

// The message the rules acted on is the one whose headers were read last.
void Pop3Session::sendMessageCommand(std::string_view command) {
    m_send(std::string(command) + std::to_string(m_current) + "\r\n");
}

void Pop3Session::nextMessageStep(Stage stage, const std::string& stageLine) {
    if (m_new.remaining()) {
        RequestNextHeaders();
        return;
    }
    enter(stage, stageLine, Logged::Yes);
    if (m_cycle.newMailCount != 0) {
        enter(Stage::LoggingOutWithMail, "7 - Logging out with mail.", Logged::Yes);
    } else {
        enter(Stage::LoggingOut, "6 - Logging out without mail.", Logged::Yes);
    }
    m_send(kQuit);
}

// The server has removed what was deleted and closed the gaps: the messages
// seen are now the first ones less as many. Counting them as before would
// take the next check's new mail for old, and a mailbox that shrank for it
// would have all its mail announced again.
void Pop3Session::deletionsDone() {
    lastNumKnown() = std::max(0, lastNumKnown() - m_deleted);
    m_deleted = 0;
    // A deleted message's id is no longer on the server.
    for (const std::string& id : m_deletedIds) {
        if (seenIds()) {
            seenIds()->erase(id);
        }
    }
    m_deletedIds.clear();
}

void Pop3Session::quitAcknowledged(Stage stage) {
    deletionsDone();
    TextField& accountList = m_accountsDialog.Memon[account()];
    if (stage == Stage::LoggingOut) {
        accountList.set("");
        enter(Stage::Over, "0 - Nothing Happening.", Logged::Yes);
    } else {
        enter(Stage::Over, "0 - Nothing Happening got new mail.\r\n", Logged::Yes);
        m_list.close();
        accountList.set(m_list.text());
    }
    end(SessionOutcome::Result::Checked);
}

// Only reached when the answer after an error carries a line break of its
// own; the second error report normally ends the conversation first.
void Pop3Session::endAfterError() {
    enter(Stage::Over, "0 - Nothing Happening, had an error though.\r\n", Logged::Yes);
    m_cycle.settingsOk = false;
    m_cycle.accountError[account()] = true;
    keepListedMail();
    end(SessionOutcome::Result::ServerError);
}

// The server's answer begins with "-". The error and then the answer to the
// QUIT it causes are reported, each with all the lines gathered so far; the
// conversation is over after the second.
void Pop3Session::refused(std::string_view received) {
    const Stage before = m_stage;
    // After an error, what arrives answers its QUIT; accepted, it made the
    // deletions final.
    const bool quitAccepted = before == Stage::Failed && received.substr(0, 3) == "+OK";
    m_cycle.accountError[account()] = true;
    m_cycle.settingsOk = false;
    enter(Stage::Failed, "8 - ERROR Occured at stage : " + m_window.Memo2.get() + " : Quitting\r\n",
          Logged::Yes);
    if (before == Stage::RequestedHeaders) {
        // The answer to QUIT comes after those to the TOPs sent ahead.
        m_pipeline.abandon();
    }
    m_send(kQuit);
    const std::string& answer = m_replies.text();
    if (before == Stage::SentUser || before == Stage::SentPass) {
        m_cycle.loginRefused[account()] = true;
        m_reports.accountFailure(account(), answer + " - Mivo");
    } else {
        const std::string line = "Account #" + std::to_string(account()) + " ERROR = " + answer;
        m_reports.accountError(line);
        m_reports.accountFailure(account(), line);
        m_reports.log(line);
    }
    if (before == Stage::Failed) {
        if (quitAccepted) {
            deletionsDone();
        }
        keepListedMail();
        end(SessionOutcome::Result::ServerError);
    }
}

void Pop3Session::connectionEnded() {
    if (isOver()) {
        return;
    }
    const bool refusedBefore = m_stage == Stage::Failed;
    keepListedMail();
    end(refusedBefore ? SessionOutcome::Result::ServerError
                      : SessionOutcome::Result::ConnectionLost);
}

// Messages summarised before a conversation broke off are already counted
// as seen, so they are announced now or never.
void Pop3Session::keepListedMail() {
    // With rules in use, a list of messages that matched none is no mail.
    const bool anyMail = !m_window.UseRule || m_cycle.newMailCount != 0;
    if (m_list.holdsMail() && anyMail) {
        m_list.close();
        m_accountsDialog.Memon[account()].set(m_list.text());
    }
}

}  // namespace mivo

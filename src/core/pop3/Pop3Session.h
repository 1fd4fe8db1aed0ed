#pragma once
// The POP3 conversation with one account during a check: a state machine
// driven by the transport's events, whose state is the stage line in Memo2.

#include <cstddef>
#include <string>
#include <string_view>

#include "cycle/CheckContext.h"
#include "pop3/HeaderSummary.h"
#include "transport/TcpTransport.h"

namespace mivo {

class Pop3Session {
public:
    // A connection on which nothing arrives for this many ticks is given up.
    static constexpr int kSilentTickLimit = 75;
    // Lines of a failed response that are still reported: the error itself
    // and the answer to the QUIT it causes.
    static constexpr int kReportedErrorLines = 2;
    // A response is collected whole up to this size; a server that never
    // ends one cannot make the program hold more.
    static constexpr std::size_t kResponseLimit = std::size_t{1} << 20;

    explicit Pop3Session(CheckContext& context);

    // The handler the check cycle registers with TcpOpenSlot.
    TcpEventHandler SessionCallback();

    // Connected (0), closed (3) or, for any other code, one received line.
    int HandleTcpEvent(int event, const char* data, int length);

    // Counts one tick of the check clock. An established connection that has
    // stayed silent too long is closed as a timed-out network would close it.
    void countSilentTick();

private:
    void connected();
    void receivedLine(std::string_view line);
    void closed(std::string_view errorText);

    char stage() const;
    bool ignoringServer() const;
    void setStage(const std::string& line, bool logged);
    void errorPath();
    // Whether `line` completes the response the stage `code` waits for;
    // stage 0 also logs what it made of the line.
    bool responseComplete(char code, std::string_view line);
    void runAction(char stage);
    void statReceived();
    void headersReceived();
    void nextMessageStep(const std::string& stageLine);

    // Rules are not in use yet; the seams for their matches and actions stay.
    static bool UseRule() { return false; }

    CheckContext& m_context;
    HeaderSummary m_summary;
    bool m_packetDone = false;
    std::string m_topCommand;
    // Received bytes of an unfinished line, at the last tick.
    std::size_t m_heldBytes = 0;
    int m_errorRuns = 0;  // error reports on this connection
};

}  // namespace mivo

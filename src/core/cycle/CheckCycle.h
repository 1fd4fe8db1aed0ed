#pragma once
// Check now and Reset: walks the eight accounts in turn, validating each and
// opening its connection, and ends the cycle with the new-mail summary.

#include "cycle/CheckContext.h"
#include "cycle/NewMailSummary.h"
#include "pop3/Pop3Session.h"

namespace mivo {

class CheckCycle {
public:
    CheckCycle(CheckContext& context, Pop3Session& session, NewMailSummary& summary);

    // Starts a cycle or moves it on to the next account; calls itself for
    // every account it skips.
    void Button4Click();
    // Reset: drops the connection and forgets every count.
    void Button2Click();

private:
    void copyAccountIntoWorkingFields(int account);
    void reportIncompleteAccount(int account);
    void openConnection(int account);
    void openRefused();

    CheckContext& m_context;
    Pop3Session& m_session;
    NewMailSummary& m_summary;
};

}  // namespace mivo

#pragma once
// The one-line summaries of new messages: asking for each new message's
// headers with TOP, and turning the headers into a "From<TAB>Subject" line.

#include <string>

#include "cycle/CheckContext.h"

namespace mivo {

class HeaderSummary {
public:
    explicit HeaderSummary(CheckContext& context) : m_context(context) {}

    // Sends `topCommand` for the next new message; from then on that message
    // counts as seen, whatever happens to the rest of the conversation.
    void RequestNextHeaders(const std::string& topCommand);

    // Adds the summary line for the headers collected in PacketBuffer to
    // Memo4. `nextTopCommand` only shows in the Log.
    void summariseHeaders(const std::string& nextTopCommand);

private:
    CheckContext& m_context;
};

}  // namespace mivo

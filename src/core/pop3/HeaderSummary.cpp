#include "pop3/HeaderSummary.h"

#include "pop3/HeaderFields.h"
#include "text/MemoText.h"

namespace mivo {

void HeaderSummary::RequestNextHeaders(const std::string& topCommand) {
    MainWindowModel& window = m_context.window;
    CycleState& cycle = m_context.cycle;
    const int account = cycle.Account;
    window.Memo2.set("A - Requesting subject and from for ");
    window.Memo2.edit([&](std::string& text) { memo::addLine(text, topCommand); });
    m_context.log.append(window.Memo2.get());
    m_context.setCaption("(" + std::to_string(account) + ")(" + window.User.get() + ")(" +
                         std::to_string(cycle.lastNumKnown[account] + 1) + " of " +
                         std::to_string(cycle.numonser[account]) + ") Getting new Mail - Mivo");
    m_context.send(topCommand);
    cycle.lastNumKnown[account] += 1;
}

void HeaderSummary::summariseHeaders(const std::string& nextTopCommand) {
    MainWindowModel& window = m_context.window;
    CycleState& cycle = m_context.cycle;
    Log& log = m_context.log;
    window.Memo2.set("B - Recieved data, processing...");
    log.append(window.Memo2.get());
    log.append("-----Data extracted from file-----");

    std::string from = "No From";
    std::string subject = "No Subject";
    // The last line of each kind wins; folded continuation lines are not
    // joined, so only a header's first physical line counts.
    const std::string_view headers = window.PacketBuffer.get();
    std::size_t start = 0;
    while (start < headers.size()) {
        std::size_t end = headers.find("\r\n", start);
        if (end == std::string_view::npos) {
            end = headers.size();
        }
        const std::string_view line = headers.substr(start, end - start);
        if (startsWith(line, "From")) {
            from = ExtractFrom(line);
        }
        if (startsWith(line, "Subject")) {
            subject = ExtractSubject(line);
        }
        start = end + 2;
    }

    // Without rules every new message counts as new mail.
    cycle.newMailCount += 1;
    const std::string summary = from + "\t" + subject;
    window.Memo4.edit([&](std::string& text) { memo::addLine(text, summary); });
    log.append("-----EODEFF-----");

    const int account = cycle.Account;
    const std::string known = std::to_string(cycle.lastNumKnown[account]);
    log.append("Values ::");
    log.append("numonser " + std::to_string(cycle.numonser[account]) + " old\"" + known + " lastk" +
               known + " " + nextTopCommand);
}

}  // namespace mivo

#include "report/CheckReports.h"

#include "text/MemoText.h"

namespace mivo {

namespace {

// Drops whole lines from the front until the text fits `limit` again, so a
// broken account checked for weeks leaves only its latest errors. Returns
// how many characters went.
std::size_t keepNewestLines(std::string& text, std::size_t limit) {
    if (text.size() <= limit) {
        return 0;
    }
    const std::size_t cut = text.find("\r\n", text.size() - limit);
    const std::size_t dropped = cut == std::string::npos ? text.size() : cut + 2;
    text.erase(0, dropped);
    return dropped;
}

}  // namespace

void CheckReports::accountError(std::string_view line) {
    // The list is shown at the new error's first line: its last line is
    // often only the server's goodbye, with the reason above it.
    m_accountsDialog.Errors.edit([this, line](std::string& text) {
        const bool joined = !text.empty() && !text.ends_with("\r\n");
        const std::size_t start = text.size() + (joined ? 2 : 0);
        memo::addLine(text, line);
        const std::size_t dropped = keepNewestLines(text, kErrorsLimit);
        m_accountsDialog.newestErrorStart = start > dropped ? start - dropped : 0;
    });
    m_accountsDialogBehaviour.Show();
}

void CheckReports::accountFailure(int account, const std::string& text) {
    caption(text);
    std::string& failure = m_failures.at(static_cast<std::size_t>(account));
    if (failure.empty()) {
        failure = text;
    }
}

}  // namespace mivo

#include "cycle/CheckReports.h"

#include "text/MemoText.h"

namespace mivo {

namespace {

// Drops whole lines from the front until the text fits `limit` again, so a
// broken account checked for weeks leaves only its latest errors.
void keepNewestLines(std::string& text, std::size_t limit) {
    if (text.size() <= limit) {
        return;
    }
    const std::size_t cut = text.find("\r\n", text.size() - limit);
    text.erase(0, cut == std::string::npos ? text.size() : cut + 2);
}

}  // namespace

void CheckReports::accountError(std::string_view line) {
    m_accountsDialog.Errors.edit([line](std::string& text) {
        memo::addLine(text, line);
        keepNewestLines(text, kErrorsLimit);
    });
    m_accountsDialogBehaviour.Show();
}

}  // namespace mivo

#include "cycle/CheckContext.h"

#include "text/MemoText.h"

namespace mivo {

void CheckContext::addError(std::string_view line) {
    accountsDialog.Errors.edit([line](std::string& text) { memo::addLine(text, line); });
}

void CheckContext::send(std::string_view bytes) {
    transport.TcpSend(cycle.transportSlot, bytes.data(), static_cast<int>(bytes.size()));
}

}  // namespace mivo

#include "report/StatusCaption.h"

namespace mivo {

void StatusCaption::set(const std::string& text) {
    m_window.Caption.set(text);
    m_window.ApplicationTitle.set(m_window.Caption.get());
    m_ui.setApplicationTitle(m_window.Caption.get());
}

}  // namespace mivo

#include "windows/DirectoryChooser.h"

namespace mivo {

void DirectoryChooser::OKClick() {
    m_advancedOptions.TEMPDIR.set(m_model.Label1.get());
    m_ui.hideWindow(WindowId::DirectoryChooser);
}

}  // namespace mivo

// TINIT, the uninstall window.
#include "UninstallWindow.h"

#include <QPointer>
#include <tuple>

#include "QtUi.h"
#include "WindowSetup.h"
#include "app/Program.h"
#include "windows/Placement.h"

namespace mivo {

TINIT::TINIT(Program& program, QtUi& ui)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_handlers(program.uninstallerBehaviour()),
      m_model(program.uninstallWindow()),
      m_shape1(*this, m_model.Shape1),
      m_shape2(*this, m_model.Shape2),
      m_shape3(*this, m_model.Shape3),
      m_shape4(*this, m_model.Shape4) {
    setUpWindow(*this, "INIT", "UNINSTALL for MIVO", outerSize());
    buildControls();
    bindModel();
    // Creation step: the start-up decision. The window's bottom edge sits on
    // the screen's middle line, like the main window's.
    const ScreenSize screen = ui.screenSize();
    move(centredOffset(screen.width, outerSize().width()),
         screen.height / 2 - outerSize().height());
    // Uninstall mode shows this window from inside the decision.
    ui.attach(WindowId::Uninstall, *this);
    program.startUp();
}

QSize TINIT::outerSize() {
    return QSize(211, 222);
}

void TINIT::buildControls() {
    place(m_label1, QStringLiteral("Label1"), 22, 19, 143, 39);
    m_label1.setText(
        QStringLiteral("Mivo is in the process of removing its components from your computer."));
    m_label1.setWordWrap(true);
    m_label1.setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // Each step's light and caption, at the caption's own top.
    for (auto [shape, shapeName, shapeTop, label, labelName, caption, labelTop] : {
             std::tuple{&m_shape1, "Shape1", 69, &m_label2, "Label2", "Removing Registry entries",
                        71},
             std::tuple{&m_shape2, "Shape2", 91, &m_label3, "Label3", "Removing Start menu items",
                        94},
             std::tuple{&m_shape3, "Shape3", 113, &m_label4, "Label4",
                        "Removing Startup menu items", 116},
             std::tuple{&m_shape4, "Shape4", 135, &m_label5, "Label5", "Removing Program files",
                        138},
         }) {
        place(*shape, QString::fromLatin1(shapeName), 24, shapeTop, 18, 18);
        placeLabel(*label, QString::fromLatin1(labelName), QString::fromLatin1(caption), 50,
                   labelTop);
    }

    place(m_done, QStringLiteral("DONE"), 64, 160, 75, 25);
    m_done.setText(QStringLiteral("DONE"));
}

void TINIT::closeEvent(QCloseEvent* event) {
    event->ignore();
}

void TINIT::bindModel() {
    const QPointer<TINIT> guard(this);
    auto showDone = [guard, this] {
        if (guard) {
            m_done.setVisible(m_model.DONEVisible.get());
        }
    };
    showDone();
    m_model.DONEVisible.onChange(showDone);
    Uninstaller& handlers = m_handlers;
    connect(&m_done, &QPushButton::clicked, this, [&handlers] { handlers.DONEClick(); });
}

}  // namespace mivo

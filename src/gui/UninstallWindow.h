#pragma once
// TINIT, the uninstall window. Carries the start-up decision; shown only when
// uninstalling, with a light for each removal step and DONE once they are
// over. Its step timer and DONE are the core's Uninstaller.

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QSize>
#include <QWidget>

#include "StepLightShape.h"

namespace mivo {

class Program;
class QtUi;
class Uninstaller;
struct UninstallWindowModel;

class TINIT : public QWidget {
    Q_OBJECT

public:
    // Builds the window and runs its creation step.
    TINIT(Program& program, QtUi& ui);

    static QSize outerSize();

protected:
    // Only DONE ends the uninstaller. A window manager's close (Alt+F4)
    // would otherwise hide the one window of a program whose main window is
    // hidden too, and leave it running where nobody can see or end it.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void bindModel();

    Uninstaller& m_handlers;
    UninstallWindowModel& m_model;

    QLabel m_label1{this};
    StepLightShape m_shape1;
    StepLightShape m_shape2;
    StepLightShape m_shape3;
    StepLightShape m_shape4;
    QLabel m_label2{this};
    QLabel m_label3{this};
    QLabel m_label4{this};
    QLabel m_label5{this};
    QPushButton m_done{this};
};

}  // namespace mivo

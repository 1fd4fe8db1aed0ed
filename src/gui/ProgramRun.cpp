#include "ProgramRun.h"

#include <QTimer>
#include <exception>
#include <memory>

#include "Application.h"
#include "QtUi.h"

namespace mivo {

int runProgram(Application& app, Program& program, QtUi& ui, ProgramWindows::Observers observers) {
    std::unique_ptr<ProgramWindows> windows;
    try {
        const Application::CreationPhase creating(app);
        windows = std::make_unique<ProgramWindows>(program, ui, app, std::move(observers));
    } catch (const std::exception& error) {
        app.reportError(QString::fromStdString(error.what()));
        return 0;
    } catch (...) {
        app.reportError(QStringLiteral("Unknown error"));
        return 0;
    }
    if (ui.terminationRequested()) {
        return 0;
    }
    // Shown from inside the loop, so its show step is a handler like any other.
    // A desktop activates a program's first window; asking for it here also
    // brings the first-activation step where no window manager would, which
    // stops Timer2's 100 ms waiting.
    TUbo& mainWindow = windows->mainWindow();
    QTimer::singleShot(0, &mainWindow, [&mainWindow] {
        mainWindow.show();
        mainWindow.activateWindow();
    });
    return QApplication::exec();
}

}  // namespace mivo

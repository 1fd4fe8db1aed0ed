#include "Application.h"

#include <QFont>
#include <QMessageBox>
#include <exception>
#include <memory>

#include "ProgramIcon.h"
#include "ProgramStyle.h"
#include "identity/ApplicationId.h"

namespace mivo {

namespace {

QFont programFont() {
    // The panel is laid out in pixels for an 8-point face at 96 dots per
    // inch; a pixel size keeps every caption inside its control whatever
    // the screen's resolution says.
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

}  // namespace

Application::Application(int& argc, char** argv)
    : QApplication(argc, argv), m_title(QStringLiteral("Mivo")) {
    setApplicationName(QStringLiteral("Mivo"));
    // Desktops find the menu entry, its name and its icon for the program's
    // windows by this name.
    setDesktopFileName(QString::fromUtf8(kApplicationId));
    // Controls sit at fixed pixel positions; a desktop style with its own
    // paddings would clip their captions, so the look is the same everywhere.
    // The application owns its style.
    setStyle(std::make_unique<ProgramStyle>().release());
    setFont(programFont());
    setWindowIcon(programIcon());
    // Only the main window's close (or the uninstaller) ends the program;
    // closing a dialog while the main window is in the tray must not.
    setQuitOnLastWindowClosed(false);
}

bool Application::notify(QObject* receiver, QEvent* event) {
    if (m_creating) {
        return QApplication::notify(receiver, event);
    }
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        reportError(QString::fromStdString(error.what()));
    } catch (...) {
        reportError(QStringLiteral("Unknown error"));
    }
    return false;
}

void Application::reportError(const QString& text) {
    if (m_reporter) {
        m_reporter(text);
    } else {
        showErrorBox(text);
    }
}

void Application::setErrorReporter(ErrorReporter reporter) {
    m_reporter = std::move(reporter);
}

void Application::showErrorBox(const QString& text) {
    QMessageBox box(QMessageBox::Critical, m_title, text, QMessageBox::Ok);
    box.exec();
}

Application::CreationPhase::CreationPhase(Application& app) : m_app(app) {
    m_app.m_creating = true;
}

Application::CreationPhase::~CreationPhase() {
    m_app.m_creating = false;
}

}  // namespace mivo

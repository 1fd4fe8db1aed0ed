#pragma once
// TUbo, the main window: the small control panel with the check interval,
// "Check now!", the countdown clock and account 1, bound to MainWindowModel.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QWidget>
#include <QWindow>
#include <vector>

#include "ClockCanvas.h"
#include "app/Program.h"

namespace mivo {

class Application;
class QtUi;

class TUbo : public QWidget {
    Q_OBJECT

public:
    // Builds the controls, binds them and runs the window's creation step.
    TUbo(Program& program, QtUi& ui, Application& app);
    ~TUbo() override;
    TUbo(const TUbo&) = delete;
    TUbo& operator=(const TUbo&) = delete;

    // Destroying the window runs its destroy step only after the whole
    // program came up: once that step saves the settings, a half-finished
    // start-up must not write half-loaded options over the stored ones.
    void enableDestroyStep() { m_destroyStepEnabled = true; }

    // Whether the window has an entry in the desktop's taskbar. Without
    // one it is a tool window, which taskbars leave out; it keeps its place
    // and its minimised state through the change.
    void setTaskbarEntry(bool shown);

    // Paints clock strokes onto the canvas and shows them.
    void drawClock(const std::vector<ClockSegment>& segments);
    const ClockCanvas& clockCanvas() const { return m_clock; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void buildControls();
    void bindModel();
    void applyWidth();
    void applyPosition();

    Program& m_program;
    MainWindowModel& m_model;
    QtUi& m_ui;
    Application& m_app;

    QCheckBox m_checkBox2{this};
    QLineEdit m_edit1{this};
    QLabel m_minutes{this};
    QLabel m_label7{this};
    QCheckBox m_checkBox1{this};
    QLabel m_label3{this};
    QLineEdit m_userName{this};
    QLabel m_label4{this};
    QLineEdit m_userPass{this};
    QLabel m_label5{this};
    QLineEdit m_popServ{this};
    QPushButton m_button4{this};
    QPushButton m_userOptions{this};
    QPushButton m_help{this};
    QPushButton m_button5{this};
    QLabel m_image1{this};
    QPushButton m_button1{this};
    QPushButton m_button2{this};
    QPushButton m_webLaunch{this};
    QPushButton m_multiPop{this};
    QLabel m_version{this};
    QMenu m_popupMenu1{this};

    ClockCanvas m_clock;
    QPointer<QWindow> m_exposeSource;
    bool m_syncingPosition = false;
    bool m_closing = false;
    // The window is hidden and shown again for a change of its type; that
    // is not the program hiding or showing it.
    bool m_changingTaskbarEntry = false;
    bool m_destroyStepEnabled = false;
};

}  // namespace mivo

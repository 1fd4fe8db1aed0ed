// TUbo, the main window.
#include "MainWindowWidget.h"

#include <QCloseEvent>
#include <QEvent>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <exception>

#include "Application.h"
#include "FieldBinding.h"
#include "PopHostHint.h"
#include "ProgramIcon.h"
#include "QtUi.h"
#include "WindowSetup.h"
#include "settings/PasswordScrambling.h"

namespace mivo {

namespace {

constexpr Qt::WindowFlags kMainWindowFlags =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

// Raises a flag for as long as it lives, also when a handler throws.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : m_flag(flag) { m_flag = true; }
    ~FlagScope() { m_flag = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& m_flag;
};

}  // namespace

TUbo::TUbo(Program& program, QtUi& ui, Application& app)
    : QWidget(nullptr, kMainWindowFlags),
      m_program(program),
      m_model(program.mainWindowModel()),
      m_ui(ui),
      m_app(app) {
    setObjectName(QStringLiteral("Ubo"));
    buildControls();
    bindModel();
    m_ui.attachMainWindow(*this);
    m_program.mainWindow().FormCreate();
}

TUbo::~TUbo() {
    if (!m_destroyStepEnabled) {
        return;
    }
    try {
        m_program.mainWindow().FormClick();
    } catch (const std::exception& error) {
        m_app.reportError(QString::fromStdString(error.what()));
    } catch (...) {
        m_app.reportError(QStringLiteral("Unknown error"));
    }
}

void TUbo::buildControls() {
    place(m_checkBox2, "CheckBox2", 4, 2, 104, 17);
    m_checkBox2.setText(QStringLiteral("Check mail every:"));
    place(m_edit1, "Edit1", 109, 0, 40, 21);
    placeLabel(m_minutes, "Minutes", "Minutes", 152, 3);
    placeLabel(m_label7, "Label7", "If new mail :", 220, 2);
    place(m_checkBox1, "CheckBox1", 279, 1, 130, 17);
    m_checkBox1.setText(QStringLiteral("bring Applicatin to front."));
    placeLabel(m_label3, "Label3", "User Name", 230, 24);
    place(m_userName, "UserName", 289, 21, 121, 21);
    placeLabel(m_label4, "Label4", "User Password", 212, 47);
    place(m_userPass, "UserPass", 289, 44, 121, 21);
    m_userPass.setEchoMode(QLineEdit::Password);
    // The longest password the settings can store.
    m_userPass.setMaxLength(static_cast<int>(MaxPasswordLength));
    placeLabel(m_label5, "Label5", "Pop Server", 231, 70);
    place(m_popServ, "PopServ", 289, 67, 121, 21);
    m_popServ.setToolTip(popHostHint());

    place(m_button4, "Button4", 38, 25, 70, 28);
    m_button4.setText(QStringLiteral("Check now!"));
    place(m_userOptions, "UserOptions", 112, 25, 94, 28);
    place(m_help, "Help", 38, 56, 70, 28);
    m_help.setText(QStringLiteral("Help"));
    place(m_button5, "Button5", 112, 56, 94, 28);
    place(m_image1, "Image1", 2, 50, 32, 35);
    m_image1.setPixmap(QPixmap::fromImage(programIconImage()));
    m_image1.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(m_button1, "Button1", 38, 87, 54, 27);
    m_button1.setText(QStringLiteral("Minimise"));
    place(m_button2, "Button2", 95, 87, 44, 27);
    m_button2.setText(QStringLiteral("Reset"));
    place(m_webLaunch, "WebLaunch", 143, 87, 63, 27);
    m_webLaunch.setText(QStringLiteral("Tavrel Ltd"));
    place(m_multiPop, "MultiPop", 212, 92, 198, 22);
    m_multiPop.setText(QStringLiteral("Config for Multiple POP accounts"));
    m_version.setObjectName(QStringLiteral("Version"));
    m_version.move(1, 99);

    m_popupMenu1.setObjectName(QStringLiteral("PopupMenu1"));
    m_popupMenu1.addAction(QStringLiteral("Tavrel LTD"))
        ->setObjectName(QStringLiteral("TavrelLTD1"));
    m_image1.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&m_image1, &QLabel::customContextMenuRequested, this,
            [this](const QPoint& at) { m_popupMenu1.popup(m_image1.mapToGlobal(at)); });

    // Clicking into Edit1 or entering it applies the interval, like typing.
    m_edit1.installEventFilter(this);
    m_userName.setFocus();
}

void TUbo::bindModel() {
    MainWindow& handlers = m_program.mainWindow();
    bindWindowTitle(*this, m_model.Caption);
    bindCheckBox(m_checkBox2, m_model.CheckBox2);
    bindLineEdit(m_edit1, m_model.Edit1);
    bindCheckBox(m_checkBox1, m_model.CheckBox1);
    bindLineEdit(m_userName, m_model.UserName);
    bindLineEdit(m_userPass, m_model.UserPass);
    bindLineEdit(m_popServ, m_model.PopServ);
    bindCaption(m_userOptions, m_model.UserOptionsCaption);
    bindCaption(m_button5, m_model.Button5Caption);
    bindLabel(m_version, m_model.Version);

    // Leaving the minutes box, or Enter in it, shows the minutes in force.
    connect(&m_edit1, &QLineEdit::editingFinished, this, [&handlers] { handlers.Edit1Exit(); });
    connect(&m_button4, &QPushButton::clicked, this, [&handlers] { handlers.Button4Click(); });
    connect(&m_userOptions, &QPushButton::clicked, this,
            [&handlers] { handlers.UserOptionsClick(); });
    connect(&m_help, &QPushButton::clicked, this, [&handlers] { handlers.HelpClick(); });
    connect(&m_button5, &QPushButton::clicked, this, [&handlers] { handlers.Button5Click(); });
    connect(&m_button1, &QPushButton::clicked, this, [&handlers] { handlers.Button1Click(); });
    connect(&m_button2, &QPushButton::clicked, this, [&handlers] { handlers.Button2Click(); });
    connect(&m_webLaunch, &QPushButton::clicked, this, [&handlers] { handlers.WebLaunchClick(); });
    connect(&m_multiPop, &QPushButton::clicked, this, [&handlers] { handlers.MultiPopClick(); });

    const QPointer<TUbo> guard(this);
    m_model.Width.onChange([guard] {
        if (guard) {
            guard->applyWidth();
        }
    });
    m_model.Left.onChange([guard] {
        if (guard) {
            guard->applyPosition();
        }
    });
    m_model.Top.onChange([guard] {
        if (guard) {
            guard->applyPosition();
        }
    });
    applyWidth();
    applyPosition();
}

void TUbo::applyWidth() {
    // The model holds the outer width; the frame takes its share of it.
    const int clientWidth = std::max(1, m_model.Width.get() - layout::kFrameWidth);
    setFixedSize(clientWidth, layout::kClientHeight);
}

void TUbo::applyPosition() {
    if (m_syncingPosition) {
        return;
    }
    const FlagScope syncing(m_syncingPosition);
    move(m_model.Left.get(), m_model.Top.get());
}

void TUbo::setTaskbarEntry(bool shown) {
    const bool hasEntry = !windowFlags().testFlag(Qt::Tool);
    if (hasEntry == shown) {
        return;
    }
    const FlagScope changing(m_changingTaskbarEntry);
    const bool visible = isVisible();
    const bool minimised = isMinimized();
    const QPoint at = pos();
    setWindowFlag(Qt::Tool, !shown);
    move(at);
    if (!visible) {
        return;
    }
    if (minimised) {
        showMinimized();
    } else {
        show();
    }
}

void TUbo::drawClock(const std::vector<ClockSegment>& segments) {
    m_clock.draw(segments, palette().color(QPalette::Window));
    // Only the clock's square: this repaint is the clock's own and must not
    // count as the window being uncovered.
    update(ClockCanvas::area());
}

bool TUbo::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::WindowActivate:
            m_program.mainWindow().FormActivate();
            break;
        case QEvent::WindowDeactivate:
            m_program.mainWindow().FormClick();
            break;
        default:
            break;
    }
    return QWidget::event(event);
}

bool TUbo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_exposeSource && event->type() == QEvent::Expose) {
        // The window system asks for the window to be drawn again (shown,
        // uncovered): that is a paint, and a paint is a tick.
        if (m_exposeSource->isExposed()) {
            m_program.mainWindow().Timer1Timer();
        }
    } else if (watched == &m_edit1) {
        if (event->type() == QEvent::FocusIn) {
            // Entering is the focus moving to Edit1 inside the window, not
            // the window getting it back from another program or a menu.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
                m_program.mainWindow().Edit1Enter();
            }
        } else if (event->type() == QEvent::MouseButtonRelease &&
                   static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            m_program.mainWindow().Edit1Enter();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TUbo::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.drawImage(ClockCanvas::area().topLeft(), m_clock.image());
}

void TUbo::showEvent(QShowEvent* event) {
    if (!m_exposeSource && windowHandle() != nullptr) {
        m_exposeSource = windowHandle();
        m_exposeSource->installEventFilter(this);
    }
    QWidget::showEvent(event);
    if (!event->spontaneous() && !m_changingTaskbarEntry) {
        m_program.mainWindow().FormShow();
    }
}

void TUbo::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous() && !m_closing && !m_changingTaskbarEntry) {
        m_program.mainWindow().FormHide();
    }
}

void TUbo::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || m_changingTaskbarEntry) {
        return;
    }
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    if (isMinimized() && !(change->oldState() & Qt::WindowMinimized)) {
        // By "Minimise", the title bar or the taskbar: the application's
        // minimise, as the program has no other window that could be.
        m_program.mainWindow().ApplicationMinimize();
    }
}

void TUbo::closeEvent(QCloseEvent* event) {
    if (!m_program.mainWindow().FormCloseQuery()) {
        event->ignore();
        return;
    }
    m_program.mainWindow().FormClose();
    // The main window's close ends the program; the windows go when the
    // loop has returned.
    m_closing = true;
    event->accept();
    m_ui.terminateApplication();
}

void TUbo::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (m_syncingPosition) {
        return;
    }
    // The user dragged the window: the model follows, so that placing it at
    // its old spot from code moves it back.
    const FlagScope syncing(m_syncingPosition);
    const QPoint at = frameGeometry().topLeft();
    m_model.Left.set(at.x());
    m_model.Top.set(at.y());
}

void TUbo::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        m_program.mainWindow().FormClick();
    }
}

}  // namespace mivo

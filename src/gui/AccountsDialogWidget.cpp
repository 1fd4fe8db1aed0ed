// TMultiPOP, the accounts dialog.
#include "AccountsDialogWidget.h"

#include <QColor>
#include <QFont>
#include <QMouseEvent>
#include <QPalette>
#include <QPointer>
#include <QScrollBar>
#include <algorithm>

#include "FieldBinding.h"
#include "MemoBinding.h"
#include "PopHostHint.h"
#include "QtUi.h"
#include "WindowSetup.h"
#include "settings/PasswordScrambling.h"

namespace mivo {

namespace {

// The rows' grid in client pixels: a number, then three equal columns.
constexpr int kNumberLeft = 5;
constexpr int kColumnLefts[] = {18, 105, 192};
constexpr int kColumnWidth = 85;
constexpr int kHeadingTop = 2;
constexpr int kFirstRowTop = 18;
constexpr int kRowStep = 23;
constexpr int kEditHeight = 21;
// Under the rows: the error heading with "Close" beside it, then the box,
// which only the tall window shows.
constexpr int kErrorHeadingTop = 202;
constexpr int kButton1Width = 44;
constexpr int kButton1Height = 23;
constexpr int kErrorsTop = 234;
constexpr int kMargin = 4;

QColor numberColour(bool red) {
    return red ? QColor(255, 0, 0) : QColor(0, 0, 0);
}

void placeEdit(QLineEdit& edit, const QString& name, int column, int top) {
    edit.setObjectName(name);
    edit.setGeometry(kColumnLefts[column], top, kColumnWidth, kEditHeight);
}

}  // namespace

TMultiPOP::TMultiPOP(Program& program, QtUi& ui)
    : QWidget(nullptr, kDialogWindowFlags),
      m_handlers(program.accountsDialogBehaviour()),
      m_model(program.accountsDialog()) {
    setUpWindow(*this, "MultiPOP", "MultiPOP", outerSize());
    buildControls();
    bindModel();
    // Creation step: centre on the screen.
    centreOnScreen(*this, outerSize(), ui);
}

QSize TMultiPOP::outerSize() {
    return QSize(287, AccountsDialogModel::kHeightWithErrors);
}

void TMultiPOP::buildControls() {
    placeLabel(m_label3, QStringLiteral("Label3"), QStringLiteral("User Name"), kColumnLefts[0],
               kHeadingTop);
    placeLabel(m_label4, QStringLiteral("Label4"), QStringLiteral("User Password"), kColumnLefts[1],
               kHeadingTop);
    placeLabel(m_label5, QStringLiteral("Label5"), QStringLiteral("Pop Server"), kColumnLefts[2],
               kHeadingTop);

    // Created row by row, so the keyboard goes USER1, PASS1, POP1, USER2...
    QWidget* previous = nullptr;
    auto chain = [&previous](QWidget& next) {
        if (previous != nullptr) {
            setTabOrder(previous, &next);
        }
        previous = &next;
    };
    for (int account = 1; account <= kAccountCount; ++account) {
        Row& r = row(account);
        const QString n = QString::number(account);
        const int top = kFirstRowTop + (account - 1) * kRowStep;
        for (QWidget* control : {static_cast<QWidget*>(&r.number), static_cast<QWidget*>(&r.user),
                                 static_cast<QWidget*>(&r.pass), static_cast<QWidget*>(&r.pop)}) {
            control->setParent(this);
        }
        placeLabel(r.number, QStringLiteral("E") + n, n, kNumberLeft, top);
        // Level with the text in the row's fields.
        r.number.move(kNumberLeft, top + (kEditHeight - r.number.height()) / 2);
        placeEdit(r.user, QStringLiteral("USER") + n, 0, top);
        placeEdit(r.pass, QStringLiteral("PASS") + n, 1, top);
        placeEdit(r.pop, QStringLiteral("POP") + n, 2, top);
        r.pop.setToolTip(popHostHint());
        r.pass.setEchoMode(QLineEdit::Password);
        // A longer password could not be stored.
        r.pass.setMaxLength(static_cast<int>(MaxPasswordLength));
        chain(r.user);
        chain(r.pass);
        chain(r.pop);
    }

    QFont large = font();
    large.setPixelSize(25);
    m_er.setFont(large);
    placeLabel(m_er, QStringLiteral("ER"), QStringLiteral("ERRORS with POP!"), kMargin,
               kErrorHeadingTop);
    m_errors.setObjectName(QStringLiteral("Errors"));
    m_errors.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_errors.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_button1.setObjectName(QStringLiteral("Button1"));
    m_button1.setText(QStringLiteral("Close"));
    chain(m_errors);
    chain(m_button1);
    layOutErrorBox();
}

void TMultiPOP::bindModel() {
    for (int account = 1; account <= kAccountCount; ++account) {
        Row& r = row(account);
        bindLineEdit(r.user, m_model.USERn[account]);
        bindLineEdit(r.pass, m_model.PASSn[account]);
        bindLineEdit(r.pop, m_model.POPn[account]);
        Field<bool>& red = m_model.numberRed[account];
        auto paint = [number = QPointer<QLabel>(&r.number), &red] {
            if (number) {
                QPalette palette = number->palette();
                palette.setColor(QPalette::WindowText, numberColour(red.get()));
                number->setPalette(palette);
            }
        };
        paint();
        red.onChange(paint);
    }
    bindMemo(m_errors, m_model.Errors, [&model = m_model] { return model.newestErrorStart; });

    const QPointer<TMultiPOP> guard(this);
    m_model.Height.onChange([guard] {
        if (guard) {
            guard->applyHeight();
        }
    });
    auto showErrorBox = [guard, this] {
        if (guard) {
            m_er.setVisible(m_model.errorBoxVisible.get());
            m_errors.setVisible(m_model.errorBoxVisible.get());
        }
    };
    showErrorBox();
    m_model.errorBoxVisible.onChange(showErrorBox);

    AccountsDialog& handlers = m_handlers;
    connect(&m_button1, &QPushButton::clicked, this, [&handlers] { handlers.Button1Click(); });
}

void TMultiPOP::applyHeight() {
    const QSize client = clientSizeFor(QSize(outerSize().width(), m_model.Height.get()));
    resize(width(), client.height());
}

void TMultiPOP::layOutErrorBox() {
    m_button1.setGeometry(width() - kMargin - kButton1Width,
                          kErrorHeadingTop + (m_er.height() - kButton1Height) / 2, kButton1Width,
                          kButton1Height);
    m_errors.setGeometry(kMargin, kErrorsTop, std::max(1, width() - 2 * kMargin),
                         std::max(1, height() - kErrorsTop - kMargin));
}

void TMultiPOP::showEvent(QShowEvent* event) {
    // The core chose the height before showing; a height the user dragged
    // the window to last time does not outlast the showing.
    if (!event->spontaneous()) {
        applyHeight();
    }
    QWidget::showEvent(event);
}

TMultiPOP::~TMultiPOP() {
    // The program ends with the dialog open: what the user typed there must
    // reach the main window before the main window saves the settings.
    if (isVisible()) {
        try {
            m_handlers.FormHide();
        } catch (...) {
            // Nothing can be reported any more; the settings keep what the
            // main window had.
        }
    }
}

void TMultiPOP::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // Minimising is the window system's hide; only the window's own counts.
    if (!event->spontaneous()) {
        m_handlers.FormHide();
    }
}

void TMultiPOP::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOutErrorBox();
}

void TMultiPOP::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton && rect().contains(at) && childAt(at) == nullptr) {
        m_handlers.FormClick();
    }
}

}  // namespace mivo

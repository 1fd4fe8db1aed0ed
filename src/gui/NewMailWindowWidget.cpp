// TForm1, the new-mail window.
#include "NewMailWindowWidget.h"

#include <QCloseEvent>
#include <QHideEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QPixmap>
#include <QPointer>
#include <QShowEvent>

#include "FieldBinding.h"
#include "MailAnimation.h"
#include "MemoBinding.h"
#include "QtUi.h"
#include "WindowSetup.h"
#include "windows/NewMailWindowLayout.h"

namespace mivo {

namespace {
constexpr int kImageLeft = 30;
constexpr int kImageTop = 15;
}  // namespace

TForm1::TForm1(Program& program, QtUi& ui)
    : QWidget(nullptr, kDialogWindowFlags),
      m_handlers(program.newMailWindowBehaviour()),
      m_model(program.newMailWindow()),
      m_mainWindowModel(program.mainWindowModel()),
      m_ui(ui) {
    setUpWindow(*this, "Form1", "You Have New Mail!!", outerSize());
    buildControls();
    bindModel();
    // Creation step: fit and centre. (The Launch button's state was set as
    // the program came up, before these controls were needed.)
    fitAndCentre();
}

QSize TForm1::outerSize() {
    return QSize(488, 158);
}

void TForm1::buildControls() {
    for (int number = 1; number <= NewMailWindowModel::kImageCount; ++number) {
        QLabel& image = m_images.at(static_cast<std::size_t>(number - 1));
        image.setParent(this);
        place(image, QStringLiteral("Image") + QString::number(number), kImageLeft, kImageTop,
              kMailAnimationFrameSize.width(), kMailAnimationFrameSize.height());
        image.setCursor(Qt::PointingHandCursor);
        image.setContextMenuPolicy(Qt::CustomContextMenu);
        connect(&image, &QLabel::customContextMenuRequested, this,
                [this, &image](const QPoint& at) { m_popupMenu1.popup(image.mapToGlobal(at)); });
        image.installEventFilter(this);
        image.hide();
    }
    m_popupMenu1.setObjectName(QStringLiteral("PopupMenu1"));
    QAction* tavrel = m_popupMenu1.addAction(QStringLiteral("Tavrel LTD"));
    tavrel->setObjectName(QStringLiteral("TavrelLTD1"));
    NewMailWindow& handlers = m_handlers;
    connect(tavrel, &QAction::triggered, this, [&handlers] { handlers.TavrelLTD1Click(); });

    place(m_bringAppToFront, QStringLiteral("bringAppToFront"), 153, 30, 97, 17);
    m_bringAppToFront.setText(QStringLiteral("bringAppToFront"));
    m_bringAppToFront.hide();

    place(m_memo1, QStringLiteral("Memo1"), newmaillayout::kMemoLeft, 0, 359, 129);
    m_memo1.setReadOnly(true);
    m_memo1.setLineWrapMode(QPlainTextEdit::NoWrap);
    m_memo1.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo1.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Blue on the window's own face, so the list reads as part of the
    // notice rather than as a field to type in.
    QPalette palette = m_memo1.palette();
    palette.setColor(QPalette::Text, QColor(0, 0, 255));
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    m_memo1.setPalette(palette);

    place(m_done, QStringLiteral("Done"), 21, 79, 77, 22);
    m_done.setText(QStringLiteral("Done"));
    place(m_launch, QStringLiteral("Launch"), 21, newmaillayout::kLaunchTop, 77,
          newmaillayout::kLaunchHeight);
}

void TForm1::bindModel() {
    bindMemo(m_memo1, m_model.Memo1);
    bindCheckBox(m_bringAppToFront, m_model.bringAppToFront);
    bindCaption(m_launch, m_model.LaunchCaption);
    const QPointer<TForm1> guard(this);
    auto enableLaunch = [guard, this] {
        if (guard) {
            m_launch.setEnabled(m_model.LaunchEnabled.get());
        }
    };
    enableLaunch();
    m_model.LaunchEnabled.onChange(enableLaunch);
    m_model.shownImage.onChange([guard, this] {
        if (guard) {
            showImage(m_model.shownImage.get());
        }
    });
    showImage(m_model.shownImage.get());

    NewMailWindow& handlers = m_handlers;
    connect(&m_done, &QPushButton::clicked, this, [&handlers] { handlers.DoneClick(); });
    connect(&m_launch, &QPushButton::clicked, this, [&handlers] { handlers.LaunchClick(); });
}

void TForm1::showImage(int number) {
    // Only the picture going and the one coming change, one of 38 a tick.
    if (m_shownImage > 0) {
        m_images.at(static_cast<std::size_t>(m_shownImage - 1)).hide();
    }
    m_shownImage = number;
    if (m_shownImage > 0) {
        QLabel& image = m_images.at(static_cast<std::size_t>(m_shownImage - 1));
        // Each picture is drawn the first time it is shown: most runs never
        // announce mail, and 38 pictures held from start-up would be half a
        // megabyte of an idle program's memory.
        if (image.pixmap().isNull()) {
            image.setPixmap(QPixmap::fromImage(mailAnimationFrame(m_shownImage)));
        }
        image.show();
    }
}

void TForm1::fitAndCentre() {
    fitToSize();
    centreOnScreen(*this, outerSizeFor(size()), m_ui);
}

void TForm1::fitToSize() {
    const NewMailWindowFit fit =
        fitNewMailWindow(width(), height(), m_mainWindowModel.NewMLevelNumber.get());
    if (fit.clientWidth != width() || fit.clientHeight != height()) {
        resize(fit.clientWidth, fit.clientHeight);  // which fits the list again
        return;
    }
    m_memo1.setGeometry(newmaillayout::kMemoLeft, 0, fit.memoWidth, fit.memoHeight);
}

bool TForm1::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        fitAndCentre();
        m_handlers.FormActivate();
    }
    return QWidget::event(event);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        const auto* image = qobject_cast<QLabel*>(watched);
        if (image != nullptr &&
            image->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
            m_handlers.ImageClick();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The core's show step ran before the window system was asked.
    if (!event->spontaneous()) {
        fitAndCentre();
    }
}

void TForm1::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // Minimising is the window system's hide; only the window's own counts.
    if (!event->spontaneous()) {
        m_handlers.FormHide();
    }
}

void TForm1::closeEvent(QCloseEvent* event) {
    m_handlers.FormClose();
    event->accept();
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitToSize();
}

}  // namespace mivo

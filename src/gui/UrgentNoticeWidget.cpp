// TUrgentNotice, the urgent notice.
#include "UrgentNoticeWidget.h"

#include <QFont>
#include <QHideEvent>
#include <QPainter>
#include <QPalette>
#include <QPointer>
#include <QRect>
#include <tuple>

#include "FieldBinding.h"
#include "PixelLine.h"
#include "QtUi.h"
#include "WindowSetup.h"

namespace mivo {

namespace {

QRect rectOf(StripeColumn column) {
    return QRect(column.left, column.top, column.width, column.height);
}

QRgb colourOf(StripeColour colour) {
    return colour == StripeColour::Yellow ? qRgb(255, 255, 0) : qRgb(0, 0, 0);
}

QFont pixelFont(const QFont& base, int pixelSize) {
    QFont font = base;
    font.setPixelSize(pixelSize);
    return font;
}

}  // namespace

TUrgentNotice::TUrgentNotice(Program& program, QtUi& ui)
    : QWidget(nullptr, Qt::Window),
      m_handlers(program.urgentNoticeBehaviour()),
      m_model(program.urgentNotice()),
      m_ui(ui) {
    setUpWindow(*this, "UrgentNotice", "Mivo", outerSize());
    buildControls();
    bindModel();
}

QSize TUrgentNotice::outerSize() {
    return QSize(561, 380);
}

void TUrgentNotice::buildControls() {
    // The lines reach one pixel right of the right column and, with the
    // largest counter, 65 pixels below the columns.
    const QRect reach = rectOf(UrgentNoticeModel::kBevel1)
                            .united(rectOf(UrgentNoticeModel::kBevel2))
                            .adjusted(0, 0, 1, 65);
    m_canvas = QImage(reach.right() + 1, reach.bottom() + 1, QImage::Format_ARGB32);
    m_canvas.fill(Qt::transparent);

    for (auto [bevel, name, column] :
         {std::tuple{&m_bevel1, "Bevel1", UrgentNoticeModel::kBevel1},
          std::tuple{&m_bevel2, "Bevel2", UrgentNoticeModel::kBevel2}}) {
        place(*bevel, QString::fromLatin1(name), column.left, column.top, column.width,
              column.height);
        // Only a frame: the stripes painted on the window show through.
        bevel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    }

    place(m_label1, QStringLiteral("Label1"), 56, 74, 432, 180);
    m_label1.setText(QStringLiteral("You have an urgent or important message waiting for you."));
    m_label1.setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_label1.setWordWrap(true);
    m_label1.setFont(pixelFont(font(), 40));
    QPalette red = m_label1.palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    m_label1.setPalette(red);

    place(m_button1, QStringLiteral("Button1"), 193, 251, 153, 50);
    m_button1.setText(QStringLiteral("Continue"));
    m_button1.setFont(pixelFont(font(), 16));
    // Over the words' box, where it appears after a few ticks.
    m_button1.raise();
}

void TUrgentNotice::bindModel() {
    const QPointer<TUrgentNotice> guard(this);
    auto showButton = [guard, this] {
        if (guard) {
            m_button1.setVisible(m_model.Button1Visible.get());
        }
    };
    showButton();
    m_model.Button1Visible.onChange(showButton);
    UrgentNotice& handlers = m_handlers;
    connect(&m_button1, &QPushButton::clicked, this, [&handlers] { handlers.Button1Click(); });
}

void TUrgentNotice::drawStripes(const std::vector<StripeLine>& lines) {
    for (const StripeLine& line : lines) {
        drawLineTo(m_canvas, QPoint(line.from.x, line.from.y), QPoint(line.to.x, line.to.y),
                   colourOf(line.colour));
    }
    update(m_canvas.rect());
}

bool TUrgentNotice::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        centreOnScreen(*this, outerSizeFor(size()), m_ui);
        m_ui.urgentNoticeSettled();
    }
    return QWidget::event(event);
}

void TUrgentNotice::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // Minimising is the window system's hide; only the window's own counts.
    if (!event->spontaneous()) {
        m_ui.urgentNoticeSettled();
        m_handlers.FormHide();
    }
}

void TUrgentNotice::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.drawImage(0, 0, m_canvas);
}

}  // namespace mivo

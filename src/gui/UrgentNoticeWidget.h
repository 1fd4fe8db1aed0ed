#pragma once
// TUrgentNotice, the urgent notice: big red words between two columns of
// moving yellow and black stripes, and Continue, bound to UrgentNoticeModel.
// Its tick and its buttons are the core's UrgentNotice; the stripes each
// tick adds stay on the window's canvas, the newest over the older.

#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSize>
#include <QWidget>
#include <vector>

#include "app/Program.h"

namespace mivo {

class QtUi;

class TUrgentNotice : public QWidget {
    Q_OBJECT

public:
    // Builds the window and runs its creation step.
    TUrgentNotice(Program& program, QtUi& ui);

    static QSize outerSize();

    // Paints the lines onto the canvas and shows them.
    void drawStripes(const std::vector<StripeLine>& lines);

protected:
    bool event(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void buildControls();
    void bindModel();

    UrgentNotice& m_handlers;
    UrgentNoticeModel& m_model;
    QtUi& m_ui;

    QFrame m_bevel1{this};
    QFrame m_bevel2{this};
    QLabel m_label1{this};
    QPushButton m_button1{this};
    // Transparent where no tick has drawn yet.
    QImage m_canvas;
};

}  // namespace mivo

#pragma once
// TForm1, the new-mail window: the animation's 38 pictures, the list of new
// messages, Done and "Launch Email", bound to NewMailWindowModel. What its
// buttons, timer, showing and hiding do is the core's NewMailWindow; the
// window sees to its own size and place.

#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSize>
#include <QWidget>
#include <array>

#include "app/Program.h"

namespace mivo {

class QtUi;

class TForm1 : public QWidget {
    Q_OBJECT

public:
    // Builds the window and runs its creation step.
    TForm1(Program& program, QtUi& ui);

    static QSize outerSize();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildControls();
    void bindModel();
    void showImage(int number);
    // The refresh step's part that is the window's own: tall enough for
    // its buttons, and back in the middle of the screen.
    void fitAndCentre();
    void fitToSize();

    NewMailWindow& m_handlers;
    NewMailWindowModel& m_model;
    const MainWindowModel& m_mainWindowModel;
    QtUi& m_ui;

    std::array<QLabel, NewMailWindowModel::kImageCount> m_images;  // Imagek at k - 1
    QCheckBox m_bringAppToFront{this};
    QPlainTextEdit m_memo1{this};
    QPushButton m_done{this};
    QPushButton m_launch{this};
    QMenu m_popupMenu1{this};
    int m_shownImage = 0;
};

}  // namespace mivo

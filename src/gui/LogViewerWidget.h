#pragma once
// TLogViewer, the log viewer: a live copy of the Log filling the window, with
// "Clear Log File" over its top edge. Built when first shown; the core's
// LogViewer decides when it follows the Log.

#include <QPlainTextEdit>
#include <QPushButton>
#include <QSize>
#include <QWidget>

#include "app/Program.h"

namespace mivo {

class QtUi;

class TLogViewer : public QWidget {
    Q_OBJECT

public:
    // Builds the window and runs its creation step.
    TLogViewer(Program& program, QtUi& ui);

    static QSize outerSize();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void layOut();

    LogViewer& m_handlers;
    QPlainTextEdit m_logCopy{this};
    QPushButton m_clear{this};
};

}  // namespace mivo

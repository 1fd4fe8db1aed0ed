#pragma once
// TMultiPOP, the accounts dialog: the eight accounts' user names, passwords
// and POP hosts in rows, and the error box, bound to AccountsDialogModel.
// What showing, hiding and closing do is the core's AccountsDialog.

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSize>
#include <QWidget>
#include <array>

#include "app/Program.h"

namespace mivo {

class QtUi;

class TMultiPOP : public QWidget {
    Q_OBJECT

public:
    // Builds the window and runs its creation step.
    TMultiPOP(Program& program, QtUi& ui);
    ~TMultiPOP() override;
    TMultiPOP(const TMultiPOP&) = delete;
    TMultiPOP& operator=(const TMultiPOP&) = delete;

    // The design size; the height changes with the error box on each show.
    static QSize outerSize();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct Row {
        QLabel number;
        QLineEdit user;
        QLineEdit pass;
        QLineEdit pop;
    };

    Row& row(int account) { return m_rows.at(static_cast<std::size_t>(account - 1)); }
    void buildControls();
    void bindModel();
    void applyHeight();
    void layOutErrorBox();

    AccountsDialog& m_handlers;
    AccountsDialogModel& m_model;

    QLabel m_label3{this};
    QLabel m_label4{this};
    QLabel m_label5{this};
    std::array<Row, kAccountCount> m_rows;  // account n at n - 1
    QLabel m_er{this};
    QPlainTextEdit m_errors{this};
    QPushButton m_button1{this};
};

}  // namespace mivo

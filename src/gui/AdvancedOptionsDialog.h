#pragma once
// TAdvancedOptions, the advanced options dialog: the three rules and their
// actions, how rules are used, the new-mail window's level of detail, the
// taskbar and tray, the e-mail program and the temporary directory. Built
// when first shown and only shown and hidden afterwards; its behaviour is
// the core's AdvancedOptions.

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSize>
#include <QWidget>
#include <array>

#include "FileChooser.h"
#include "SelectingRadioButton.h"
#include "app/Program.h"

namespace mivo {

class QtUi;

class TAdvancedOptions : public QWidget {
    Q_OBJECT

public:
    // Builds the window, binds it to the program and runs its creation step.
    TAdvancedOptions(Program& program, QtUi& ui);
    ~TAdvancedOptions() override;
    TAdvancedOptions(const TAdvancedOptions&) = delete;
    TAdvancedOptions& operator=(const TAdvancedOptions&) = delete;

    static QSize outerSize();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // One row of the rule table, rule n's controls named with its number.
    struct RuleRow {
        QCheckBox urgent;
        QLineEdit edit;
        QComboBox selectBox;
        QCheckBox dl;
        QCheckBox del;
        QLineEdit runFile;
        QPushButton browse;
    };

    void buildOptions();
    void buildRules();
    void buildFooter();
    void bindModel();

    AdvancedOptionsModel& m_model;
    AdvancedOptions& m_handlers;

    QLabel m_label2{this};
    SelectingRadioButton m_showAll{this};
    SelectingRadioButton m_useRule{this};
    QLabel m_label3{this};
    QWidget m_groupBox1{this};
    SelectingRadioButton m_newMLevelNumber{&m_groupBox1};
    SelectingRadioButton m_radioButton1{&m_groupBox1};
    QLabel m_label5{this};
    QCheckBox m_taskbartray{this};
    QCheckBox m_taskbarbutton{this};
    QCheckBox m_startMinimized{this};
    QLabel m_label6{this};
    QLineEdit m_emailProgram{this};
    QPushButton m_browse{this};

    QFrame m_rulesDivider{this};
    QLabel m_label1{this};
    QLabel m_label10{this};
    QLabel m_label7{this};
    QLabel m_label8{this};
    QLabel m_label4{this};
    std::array<RuleRow, kRuleCount> m_rules;

    QCheckBox m_noticeAll{this};
    QLabel m_label11{this};
    QLineEdit m_media{this};
    QPushButton m_browse5{this};
    QPushButton m_button1{this};
    QLabel m_label9{this};
    QLineEdit m_tempDir{this};
    QPushButton m_button2{this};
    QPushButton m_ok{this};
    QPushButton m_cancel{this};

    QtFileChooser m_fileChooser{*this};
};

}  // namespace mivo

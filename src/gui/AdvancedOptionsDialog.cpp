// TAdvancedOptions, the advanced options dialog.
#include "AdvancedOptionsDialog.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPalette>
#include <QShowEvent>
#include <initializer_list>
#include <string>

#include "FieldBinding.h"
#include "QtUi.h"
#include "WindowSetup.h"
#include "model/MainWindowModel.h"

namespace mivo {

namespace {

constexpr int kClientWidth = 474;
constexpr int kClientHeight = 246;

// The grid the controls sit on, in client pixels. A row's top is where its
// edits (21 high) sit; its buttons (23) reach a pixel above and below them,
// its check boxes (17) sit 2 pixels lower and its captions 4.
constexpr int kMargin = 8;
constexpr int kRight = kClientWidth - kMargin;
constexpr int kSecondColumn = 176;  // level of detail, e-mail program
constexpr int kThirdColumn = 364;   // "Show in"
constexpr int kBrowseWidth = 48;
constexpr int kBrowseLeft = kRight - kBrowseWidth;

constexpr int kHeadingTop = 3;  // the three option headings
constexpr int kFirstChoiceTop = 18;
constexpr int kSecondChoiceTop = 36;
constexpr int kEmailProgramRow = 57;
constexpr int kEmailProgramLeft = 254;
constexpr int kDividerTop = 82;
constexpr int kRuleHeadTop = 87;

// The rule table: the urgent letters, then one column per control.
constexpr int kRuleRows[] = {118, 142, 166};
constexpr int kUrgentLeft = 20;
constexpr int kEditLeft = 38;
constexpr int kEditWidth = 104;
constexpr int kSelectBoxLeft = 146;
constexpr int kSelectBoxWidth = 88;
constexpr int kDLLeft = 240;
constexpr int kDELLeft = 260;
constexpr int kRunFileLeft = 288;
constexpr int kRunFileWidth = kBrowseLeft - 4 - kRunFileLeft;
constexpr int kBoxSize = 14;  // a check box without a caption

constexpr int kNoticeRow = 191;
constexpr int kMediaLeft = 232;  // the hidden media row, label first
constexpr int kFooterRow = 220;  // the temporary directory and OK/Cancel
constexpr int kTempDirLeft = 151;
constexpr int kTempDirWidth = 120;
constexpr int kDialogButtonWidth = 56;

void placeButton(QAbstractButton& button, const char* name, const char* caption, int left, int top,
                 int width, int height) {
    place(button, name, left, top, width, height);
    button.setText(QString::fromLatin1(caption));
}

// A one-line head centred over the column of `box`, on the second line of
// the two-line heads beside it.
void placeColumnHead(QLabel& label, const char* name, const char* caption, const QWidget& box) {
    placeLabel(label, name, caption, 0, 0);
    label.move(box.x() + (box.width() - label.width()) / 2, kRuleHeadTop + label.height());
}

void placeWrapped(QLabel& label, const char* name, const char* caption, int left, int width) {
    label.setObjectName(QString::fromLatin1(name));
    label.setText(QString::fromLatin1(caption));
    label.setWordWrap(true);
    label.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label.setGeometry(left, kRuleHeadTop, width, label.heightForWidth(width));
}

std::string ruleName(const char* control, int rule) {
    return control + std::to_string(rule);
}

}  // namespace

TAdvancedOptions::TAdvancedOptions(Program& program, QtUi& ui)
    : QWidget(nullptr, kDialogWindowFlags),
      m_model(program.advancedOptions()),
      m_handlers(program.advancedOptionsBehaviour()) {
    setUpWindow(*this, "AdvancedOptions", "Advanced Options", outerSize());
    setFixedSize(clientSizeFor(outerSize()));
    buildOptions();
    buildRules();
    buildFooter();
    bindModel();
    m_handlers.attachFileChooser(&m_fileChooser);
    // Creation step: centre on the screen.
    centreOnScreen(*this, outerSize(), ui);
}

TAdvancedOptions::~TAdvancedOptions() {
    m_handlers.attachFileChooser(nullptr);
}

QSize TAdvancedOptions::outerSize() {
    return QSize(kClientWidth + layout::kFrameWidth,
                 kClientHeight + layout::kFrameWidth + layout::kTitleBarHeight);
}

void TAdvancedOptions::buildOptions() {
    placeLabel(m_label2, "Label2", "When new email arrives:", kMargin, kHeadingTop);
    placeButton(m_showAll, "ShowAll", "Ignore rules, show all emails", kMargin, kFirstChoiceTop,
                160, 17);
    placeButton(m_useRule, "UseRule", "Use rules", kMargin, kSecondChoiceTop, 160, 17);

    placeLabel(m_label3, "Label3", "Level of Detail on New Mail Window", kSecondColumn,
               kHeadingTop);
    // Label3 heads the pair; the box only keeps them one group, so it draws
    // nothing of its own and its buttons line up with the rule mode's.
    place(m_groupBox1, "GroupBox1", kSecondColumn, kFirstChoiceTop, 180,
          kSecondChoiceTop + 17 - kFirstChoiceTop);
    placeButton(m_newMLevelNumber, "NewMLevelNumber", "Number of email", 0, 0, 120, 17);
    placeButton(m_radioButton1, "RadioButton1", "From and Subject", 0,
                kSecondChoiceTop - kFirstChoiceTop, 120, 17);

    placeLabel(m_label5, "Label5", "Show in", kThirdColumn, kHeadingTop);
    placeButton(m_taskbartray, "Taskbartray", "Taskbar tray", kThirdColumn, kFirstChoiceTop, 100,
                17);
    placeButton(m_taskbarbutton, "Taskbarbutton", "Taskbar button", kThirdColumn, kSecondChoiceTop,
                100, 17);

    placeButton(m_startMinimized, "StartMinimized", "Start Mivo in Minimized Mode.", kMargin,
                kEmailProgramRow + 2, 165, 17);
    placeLabel(m_label6, "Label6", "Email program:", kSecondColumn, kEmailProgramRow + 4);
    place(m_emailProgram, "EmailProgram", kEmailProgramLeft, kEmailProgramRow,
          kBrowseLeft - 4 - kEmailProgramLeft, 21);
    placeButton(m_browse, "Browse", "Browse", kBrowseLeft, kEmailProgramRow - 1, kBrowseWidth, 23);

    m_rulesDivider.setObjectName(QStringLiteral("RulesDivider"));
    m_rulesDivider.setFrameShape(QFrame::HLine);
    m_rulesDivider.setFrameShadow(QFrame::Sunken);
    m_rulesDivider.setGeometry(kMargin, kDividerTop, kRight - kMargin, 3);
}

void TAdvancedOptions::buildRules() {
    placeWrapped(m_label1, "Label1",
                 "Add notification to the New Message window if the text (left) is found in "
                 "the field (right).",
                 kMargin, kDLLeft - 8 - kMargin);
    placeWrapped(m_label10, "Label10", "Program to run, append %s for tmp downloaded filename",
                 kRunFileLeft, kRight - kRunFileLeft);

    // "U R G E N T" reads down the side of the urgent boxes.
    m_label4.setObjectName(QStringLiteral("Label4"));
    m_label4.setText(QStringLiteral("U\nR\nG\nE\nN\nT"));
    m_label4.setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QPalette red = m_label4.palette();
    red.setColor(QPalette::WindowText, Qt::red);
    m_label4.setPalette(red);
    // Centred on the three rows it stands beside.
    const int letters = m_label4.sizeHint().height();
    const int rowsMiddle = (kRuleRows[0] + kRuleRows[2] + 21) / 2;
    m_label4.setGeometry(6, rowsMiddle - letters / 2, 12, letters);

    for (int rule = 1; rule <= kRuleCount; ++rule) {
        RuleRow& row = m_rules.at(rule - 1);
        const int top = kRuleRows[rule - 1];
        for (QWidget* control :
             std::initializer_list<QWidget*>{&row.urgent, &row.edit, &row.selectBox, &row.dl,
                                             &row.del, &row.runFile, &row.browse}) {
            control->setParent(this);
        }
        place(row.urgent, ruleName("Urgent", rule).c_str(), kUrgentLeft, top + 2, kBoxSize, 17);
        place(row.edit, ruleName("Edit", rule).c_str(), kEditLeft, top, kEditWidth, 21);
        place(row.selectBox, ruleName("SelectBox", rule).c_str(), kSelectBoxLeft, top,
              kSelectBoxWidth, 21);
        row.selectBox.setEditable(false);
        row.selectBox.setMaxVisibleItems(14);
        place(row.dl, ruleName("DL", rule).c_str(), kDLLeft, top + 2, kBoxSize, 17);
        place(row.del, ruleName("DEL", rule).c_str(), kDELLeft, top + 2, kBoxSize, 17);
        place(row.runFile, ruleName("RunFile", rule).c_str(), kRunFileLeft, top, kRunFileWidth, 21);
        placeButton(row.browse, ruleName("Browse", rule).c_str(), "Browse", kBrowseLeft, top - 1,
                    kBrowseWidth, 23);
    }
    placeColumnHead(m_label7, "Label7", "DL", m_rules[0].dl);
    placeColumnHead(m_label8, "Label8", "DEL", m_rules[0].del);
}

void TAdvancedOptions::buildFooter() {
    placeButton(m_noticeAll, "NoticeAll", "If none match, show notice of new email", kMargin,
                kNoticeRow + 2, 220, 17);
    // The media file is kept with the options but offered nowhere; its row
    // would sit between the notice box and "Show Log".
    placeLabel(m_label11, "Label11", "Media File:", kMediaLeft, kNoticeRow + 4);
    place(m_media, "Media", kMediaLeft + 58, kNoticeRow, 66, 21);
    placeButton(m_browse5, "Browse5", "Browse", kMediaLeft + 128, kNoticeRow - 1, 44, 23);
    for (QWidget* hidden : std::initializer_list<QWidget*>{&m_label11, &m_media, &m_browse5}) {
        hidden->hide();
    }
    placeButton(m_button1, "Button1", "Show Log", kRight - kDialogButtonWidth, kNoticeRow - 1,
                kDialogButtonWidth, 23);

    placeLabel(m_label9, "Label9", "Temp Directory(Downloads):", kMargin, kFooterRow + 4);
    place(m_tempDir, "TEMPDIR", kTempDirLeft, kFooterRow, kTempDirWidth, 21);
    placeButton(m_button2, "Button2", "Browse", kTempDirLeft + kTempDirWidth + 4, kFooterRow - 1,
                kBrowseWidth, 23);
    placeButton(m_ok, "OK", "OK", kRight - 2 * kDialogButtonWidth - 4, kFooterRow - 1,
                kDialogButtonWidth, 23);
    placeButton(m_cancel, "Cancel", "Cancel", kRight - kDialogButtonWidth, kFooterRow - 1,
                kDialogButtonWidth, 23);
}

void TAdvancedOptions::bindModel() {
    bindRadioButton(m_showAll, m_model.ShowAll);
    bindRadioButton(m_useRule, m_model.UseRule);
    bindRadioButton(m_newMLevelNumber, m_model.NewMLevelNumber);
    bindRadioButton(m_radioButton1, m_model.RadioButton1);
    bindCheckBox(m_startMinimized, m_model.StartMinimized);
    bindCheckBox(m_taskbartray, m_model.Taskbartray);
    bindCheckBox(m_taskbarbutton, m_model.Taskbarbutton);
    bindLineEdit(m_emailProgram, m_model.EmailProgram);
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        RuleRow& row = m_rules.at(rule - 1);
        bindCheckBox(row.urgent, m_model.Urgentn[rule]);
        bindLineEdit(row.edit, m_model.Editn[rule]);
        bindComboBox(row.selectBox, m_model.SelectBoxn[rule]);
        bindCheckBox(row.dl, m_model.DLn[rule]);
        bindCheckBox(row.del, m_model.DELn[rule]);
        bindLineEdit(row.runFile, m_model.RunFilen[rule]);
        // After the binding's own handler, so the pick is in the model.
        connect(&row.selectBox, &QComboBox::activated, this,
                [this, rule] { m_handlers.SelectBoxClick(rule); });
        connect(&row.browse, &QPushButton::clicked, this,
                [this, rule] { m_handlers.BrowseRuleClick(rule); });
    }
    bindCheckBox(m_noticeAll, m_model.NoticeAll);
    bindLineEdit(m_tempDir, m_model.TEMPDIR);
    bindLineEdit(m_media, m_model.Media);

    connect(&m_browse, &QPushButton::clicked, this, [this] { m_handlers.BrowseClick(); });
    connect(&m_browse5, &QPushButton::clicked, this, [this] { m_handlers.Browse5Click(); });
    connect(&m_button1, &QPushButton::clicked, this, [this] { m_handlers.Button1Click(); });
    connect(&m_button2, &QPushButton::clicked, this, [this] { m_handlers.Button2Click(); });
    connect(&m_ok, &QPushButton::clicked, this, [this] { m_handlers.OKClick(); });
    connect(&m_cancel, &QPushButton::clicked, this, [this] { m_handlers.CancelClick(); });
}

void TAdvancedOptions::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Paths read best from their start, as the opening filled them in.
    for (QLineEdit* edit : findChildren<QLineEdit*>()) {
        edit->setCursorPosition(0);
    }
}

void TAdvancedOptions::closeEvent(QCloseEvent* event) {
    // The close box closes through the main window's toggle, which takes
    // the edits back like OK.
    m_handlers.FormClose();
    event->accept();
}

void TAdvancedOptions::keyPressEvent(QKeyEvent* event) {
    // Escape presses Cancel, as in a dialog box; the edits and lists leave
    // Escape to their window.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        m_cancel.click();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace mivo

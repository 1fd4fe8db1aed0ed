#include "MemoBinding.h"

#include <QPointer>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextCursor>
#include <memory>
#include <string>

namespace mivo {

namespace {

// What the edit shows, kept beside it so that a change can be told apart
// as an append. The field outlives the edit, so the tie checks it still has
// an edit.
class MemoTie {
public:
    MemoTie(QPlainTextEdit& edit, TextField& field) : m_edit(&edit), m_field(field) {}

    void show() {
        const std::string& text = m_field.get();
        if (m_edit == nullptr || text == m_shown) {
            return;
        }
        QScrollBar& bar = *m_edit->verticalScrollBar();
        const bool atEnd = bar.value() == bar.maximum();
        const int kept = bar.value();
        // A change from the program is not a user edit.
        const QSignalBlocker quiet(m_edit.data());
        if (m_edit->isReadOnly() && isAppendTo(text, m_shown)) {
            QTextCursor end(m_edit->document());
            end.movePosition(QTextCursor::End);
            end.insertText(memoDisplayText(std::string_view(text).substr(m_shown.size())));
        } else {
            m_edit->setPlainText(memoDisplayText(text));
        }
        m_shown = text;
        // The newest lines of an editable memo are what the program added.
        bar.setValue(atEnd || !m_edit->isReadOnly() ? bar.maximum() : kept);
    }

    void userEdited() {
        if (m_edit == nullptr) {
            return;
        }
        std::string text = m_edit->toPlainText().toStdString();
        std::string withCrLf;
        withCrLf.reserve(text.size());
        for (char c : text) {
            if (c == '\n') {
                withCrLf += '\r';
            }
            withCrLf += c;
        }
        m_shown = withCrLf;
        m_field.set(std::move(withCrLf));
    }

private:
    // A line break split between what is shown and what was added would
    // show as two.
    static bool isAppendTo(const std::string& text, const std::string& shown) {
        if (shown.empty() || text.size() <= shown.size() ||
            text.compare(0, shown.size(), shown) != 0) {
            return false;
        }
        return !(shown.back() == '\r' && text[shown.size()] == '\n');
    }

    QPointer<QPlainTextEdit> m_edit;
    TextField& m_field;
    std::string m_shown;
};

}  // namespace

QString memoDisplayText(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            shown += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            shown += text[i];
        }
    }
    return QString::fromStdString(shown);
}

void bindMemo(QPlainTextEdit& edit, TextField& field) {
    if (edit.isReadOnly()) {
        // The program's appends are not the user's to undo.
        edit.setUndoRedoEnabled(false);
    }
    auto tie = std::make_shared<MemoTie>(edit, field);
    tie->show();
    QObject::connect(&edit, &QPlainTextEdit::textChanged, &edit, [tie] { tie->userEdited(); });
    field.onChange([tie] { tie->show(); });
}

}  // namespace mivo

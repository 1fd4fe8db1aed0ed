#include "MemoBinding.h"

#include <QPointer>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <memory>
#include <string>

namespace mivo {

namespace {

// What the edit shows, kept beside it so that a change can be told apart
// as an append, and whether the view follows the end. The field outlives the
// edit, so the tie checks it still has an edit.
class MemoTie {
public:
    MemoTie(QPlainTextEdit& edit, TextField& field, std::function<std::size_t()> start)
        : m_edit(&edit), m_field(field), m_start(std::move(start)) {}

    void show() {
        const std::string& text = m_field.get();
        if (m_edit == nullptr || text == m_shown) {
            return;
        }
        // The newest lines of an editable memo are what the program added.
        const bool follow = m_followEnd || !m_edit->isReadOnly();
        {
            // A change from the program is not a user edit, nor a scroll.
            const QSignalBlocker quiet(m_edit.data());
            m_applying = true;
            if (m_edit->isReadOnly() && isAppendTo(text, m_shown)) {
                QTextCursor end(m_edit->document());
                end.movePosition(QTextCursor::End);
                end.insertText(memoDisplayText(std::string_view(text).substr(m_shown.size())));
            } else {
                m_edit->setPlainText(memoDisplayText(text));
            }
            m_applying = false;
        }
        m_shown = text;
        m_followEnd = follow;
        if (m_start) {
            showLineAt(std::min(m_start(), text.size()));
        } else if (m_followEnd) {
            scrollToEnd();
        }
    }

    // The text is laid out lazily, so the scroll range can grow after show()
    // has returned.
    void rangeChanged() {
        if (m_followEnd && !m_applying) {
            scrollToEnd();
        }
    }

    void scrolled(int value) {
        if (m_edit != nullptr && !m_applying) {
            m_followEnd = value == m_edit->verticalScrollBar()->maximum();
        }
    }

    void userEdited() {
        if (m_edit == nullptr) {
            return;
        }
        const std::string text = m_edit->toPlainText().toStdString();
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
    void scrollToEnd() {
        QScrollBar& bar = *m_edit->verticalScrollBar();
        bar.setValue(bar.maximum());
    }

    // From the end up to the line, so that the line comes out at the top
    // when what follows it does not fit below it.
    void showLineAt(std::size_t offset) {
        const int line = static_cast<int>(
            memoDisplayText(std::string_view(m_shown).substr(0, offset)).count(QLatin1Char('\n')));
        m_applying = true;
        scrollToEnd();
        m_edit->setTextCursor(QTextCursor(m_edit->document()->findBlockByNumber(line)));
        m_edit->ensureCursorVisible();
        m_applying = false;
        // Laying out the rest later must not take the line away again.
        m_followEnd = false;
    }

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
    std::function<std::size_t()> m_start;
    std::string m_shown;
    bool m_followEnd = true;
    bool m_applying = false;
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
    bindMemo(edit, field, nullptr);
}

void bindMemo(QPlainTextEdit& edit, TextField& field, std::function<std::size_t()> start) {
    if (edit.isReadOnly()) {
        // The program's appends are not the user's to undo.
        edit.setUndoRedoEnabled(false);
    }
    auto tie = std::make_shared<MemoTie>(edit, field, std::move(start));
    tie->show();
    QObject::connect(&edit, &QPlainTextEdit::textChanged, &edit, [tie] { tie->userEdited(); });
    const QScrollBar* bar = edit.verticalScrollBar();
    QObject::connect(bar, &QScrollBar::rangeChanged, &edit, [tie] { tie->rangeChanged(); });
    QObject::connect(bar, &QScrollBar::valueChanged, &edit,
                     [tie](int value) { tie->scrolled(value); });
    field.onChange([tie] { tie->show(); });
}

}  // namespace mivo

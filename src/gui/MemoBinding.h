#pragma once
// Ties a memo's text to a plain-text edit. The core keeps CR LF line ends;
// the edit shows them as line breaks and gives a user's edit back with CR LF.

#include <QPlainTextEdit>
#include <cstddef>
#include <functional>
#include <string_view>

#include "fields/Field.h"

namespace mivo {

// A read-only edit adds only what was appended to the text, instead of laying
// the whole text out again, and keeps a reader who is at the end at the end;
// a reader scrolled back to older lines stays where they are. An editable one
// shows the end after each change from the program, and sets the field on
// every user edit.
void bindMemo(QPlainTextEdit& edit, TextField& field);

// The same for an editable memo whose changes from the program should bring
// the line that begins at `start()` in the new text into view, rather than
// the end: with as much as fits after it, and at the top when not all does.
void bindMemo(QPlainTextEdit& edit, TextField& field, std::function<std::size_t()> start);

// CR LF, and a CR or LF alone, as the edit's line break.
QString memoDisplayText(std::string_view text);

}  // namespace mivo

#pragma once
// Two-way ties between the core's fields and Qt widgets. A user edit sets
// the field (running its handlers); a change from code updates the widget.

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QWidget>

#include "fields/Field.h"

namespace mivo {

// Fields outlive the windows, so each tie checks the widget still exists.
void bindLineEdit(QLineEdit& edit, TextField& field);
void bindCheckBox(QCheckBox& box, CheckField& field);
void bindRadioButton(QRadioButton& button, CheckField& field);
// The list's entries come from the field; a pick by the user, the entry
// shown already included, sets the selected index.
void bindComboBox(QComboBox& box, ListField& field);
// One-way: the field's text is the caption.
void bindCaption(QAbstractButton& button, TextField& field);
void bindLabel(QLabel& label, TextField& field);  // the label sizes itself to its text
// The title shows the caption on one line.
void bindWindowTitle(QWidget& window, TextField& field);

QString toQString(const std::string& text);
std::string toStdString(const QString& text);

}  // namespace mivo

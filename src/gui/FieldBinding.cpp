#include "FieldBinding.h"

#include <QPointer>

#include "text/WindowTitle.h"

namespace mivo {

QString toQString(const std::string& text) {
    return QString::fromStdString(text);
}

std::string toStdString(const QString& text) {
    return text.toStdString();
}

void bindLineEdit(QLineEdit& edit, TextField& field) {
    edit.setText(toQString(field.get()));
    QObject::connect(&edit, &QLineEdit::textEdited,
                     [&field](const QString& text) { field.set(toStdString(text)); });
    // setText does not emit textEdited, so a change from code does not come
    // back as an edit.
    field.onChange([guard = QPointer<QLineEdit>(&edit), &field] {
        const QString text = toQString(field.get());
        if (guard && guard->text() != text) {
            guard->setText(text);
        }
    });
}

void bindCheckBox(QCheckBox& box, CheckField& field) {
    box.setChecked(field.get());
    QObject::connect(&box, &QCheckBox::clicked, [&field](bool checked) { field.set(checked); });
    field.onChange([guard = QPointer<QCheckBox>(&box), &field] {
        if (guard && guard->isChecked() != field.get()) {
            guard->setChecked(field.get());
        }
    });
}

void bindCaption(QAbstractButton& button, TextField& field) {
    button.setText(toQString(field.get()));
    field.onChange([guard = QPointer<QAbstractButton>(&button), &field] {
        if (guard) {
            guard->setText(toQString(field.get()));
        }
    });
}

void bindLabel(QLabel& label, TextField& field) {
    label.setText(toQString(field.get()));
    label.adjustSize();
    field.onChange([guard = QPointer<QLabel>(&label), &field] {
        if (guard) {
            guard->setText(toQString(field.get()));
            guard->adjustSize();
        }
    });
}

void bindWindowTitle(QWidget& window, TextField& field) {
    window.setWindowTitle(toQString(windowTitleText(field.get())));
    field.onChange([guard = QPointer<QWidget>(&window), &field] {
        if (guard) {
            guard->setWindowTitle(toQString(windowTitleText(field.get())));
        }
    });
}

}  // namespace mivo

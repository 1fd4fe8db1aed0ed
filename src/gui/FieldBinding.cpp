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

namespace {

void bindCheckedState(QAbstractButton& button, CheckField& field) {
    button.setChecked(field.get());
    QObject::connect(&button, &QAbstractButton::clicked,
                     [&field](bool checked) { field.set(checked); });
    field.onChange([guard = QPointer<QAbstractButton>(&button), &field] {
        if (guard && guard->isChecked() != field.get()) {
            guard->setChecked(field.get());
        }
    });
}

}  // namespace

void bindCheckBox(QCheckBox& box, CheckField& field) {
    bindCheckedState(box, field);
}

void bindRadioButton(QRadioButton& button, CheckField& field) {
    bindCheckedState(button, field);
}

void bindComboBox(QComboBox& box, ListField& field) {
    box.clear();
    for (const std::string& item : field.items) {
        box.addItem(toQString(item));
    }
    box.setCurrentIndex(field.itemIndex.get());
    QObject::connect(&box, &QComboBox::activated,
                     [&field](int index) { field.itemIndex.set(index); });
    field.itemIndex.onChange([guard = QPointer<QComboBox>(&box), &field] {
        if (guard && guard->currentIndex() != field.itemIndex.get()) {
            guard->setCurrentIndex(field.itemIndex.get());
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

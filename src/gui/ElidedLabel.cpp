#include "ElidedLabel.h"

namespace mivo {

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {
    // The label takes the width it is given, not its text's.
    setMinimumWidth(1);
}

void ElidedLabel::setFullText(const QString& text) {
    m_fullText = text;
    setToolTip(text);
    elide();
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    elide();
}

void ElidedLabel::elide() {
    setText(fontMetrics().elidedText(m_fullText, Qt::ElideMiddle, contentsRect().width()));
}

}  // namespace mivo

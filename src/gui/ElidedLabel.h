#pragma once
// A one-line label for a path: a text wider than the label loses its middle
// to an ellipsis, so both the start and the folder's own name stay readable.
// The whole text is kept, and shown as the tool tip.

#include <QLabel>
#include <QString>

namespace mivo {

class ElidedLabel : public QLabel {
    Q_OBJECT

public:
    explicit ElidedLabel(QWidget* parent);

    void setFullText(const QString& text);
    const QString& fullText() const { return m_fullText; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void elide();

    QString m_fullText;
};

}  // namespace mivo

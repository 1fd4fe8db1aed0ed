#pragma once
// One of the uninstall window's round lights: a circle with a black outline,
// filled white, yellow or green as its step goes, bound to its model field.

#include <QWidget>

#include "fields/Field.h"
#include "model/UninstallWindowModel.h"

namespace mivo {

class StepLightShape : public QWidget {
    Q_OBJECT

public:
    StepLightShape(QWidget& parent, Field<StepLight>& light);

    static QColor colourOf(StepLight light);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Field<StepLight>& m_light;
};

}  // namespace mivo

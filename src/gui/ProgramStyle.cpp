#include "ProgramStyle.h"

#include <QStyleFactory>

namespace mivo {

ProgramStyle::ProgramStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

int ProgramStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                              const QWidget* widget) const {
    switch (metric) {
        // A 13-pixel box with the caption 16 pixels in, so that captions
        // such as "bring Applicatin to front." fit their 130-pixel boxes.
        case PM_IndicatorWidth:
        case PM_IndicatorHeight:
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight:
            return 13;
        case PM_CheckBoxLabelSpacing:
        case PM_RadioButtonLabelSpacing:
            return 3;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

int ProgramStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                            QStyleHintReturn* returnData) const {
    if (hint == SH_LineEdit_PasswordCharacter) {
        return '*';
    }
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

}  // namespace mivo

#pragma once
// The program's look: Fusion with the small check boxes and the star
// password character that the fixed-pixel panels were laid out for.

#include <QProxyStyle>

namespace mivo {

class ProgramStyle : public QProxyStyle {
    Q_OBJECT

public:
    ProgramStyle();

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};

}  // namespace mivo

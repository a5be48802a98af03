#include "detect/Sensitivity.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <limits>

double SensitivityFromSlider(int position)
{
    return position / 100.0;
}

int SliderFromSensitivity(double sensitivity)
{
    const double scaled = std::nearbyint(sensitivity * 100.0); // the default rounding mode: halves to even
    if (std::isnan(scaled))
        return 0;
    constexpr double low = std::numeric_limits<int>::min();
    constexpr double high = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp(scaled, low, high));
}

QString SensitivityText(double sensitivity)
{
    return QLocale().toString(sensitivity, 'g', QLocale::FloatingPointShortest);
}

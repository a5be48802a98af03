#pragma once

#include <QString>

// The slider runs from 0 to 500; the sensitivity is its position divided by 100.
constexpr int SensitivitySliderMaximum = 500;

double SensitivityFromSlider(int position);

// Sensitivity x 100 rounded to the nearest whole number, halves to even, for a slider position.
int SliderFromSensitivity(double sensitivity);

// The sensitivity as a plain number in its shortest form, with the locale's decimal separator.
QString SensitivityText(double sensitivity);

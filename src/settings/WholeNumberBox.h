#pragma once

#include <QString>
#include <cstdint>
#include <optional>

class QLineEdit;

// The numbers the spin-controlled boxes accept.
constexpr std::int32_t WholeNumberMinimum = 0;
constexpr std::int32_t WholeNumberMaximum = 99999;

// The number a box's text stands for: digits only (blanks around them allowed), from 0 to 99999.
std::optional<std::int32_t> ParseWholeNumber(const QString& text);

// Change rule of a number box: a whole number goes into setting; any other text leaves setting
// as it was, and the box is marked as not accepted until it holds a whole number again.
void ApplyWholeNumber(QLineEdit* box, std::int32_t& setting);

// When the user leaves a box holding text that was not accepted, it shows the setting again.
void RestoreWholeNumber(QLineEdit* box, std::int32_t setting);

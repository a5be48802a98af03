#include "settings/WholeNumberBox.h"

#include <QLineEdit>
#include <QPalette>

namespace
{
const char* const NotAccepted = "notAccepted";

void MarkAccepted(QLineEdit* box, bool accepted)
{
    if (box->property(NotAccepted).toBool() == !accepted)
        return;
    box->setProperty(NotAccepted, !accepted);
    if (accepted)
    {
        box->setPalette(QPalette());
        box->setToolTip({});
        return;
    }
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, QColor(0xFF, 0xD8, 0xD8));
    palette.setColor(QPalette::Text, QColor(0x90, 0x00, 0x00));
    box->setPalette(palette);
    box->setToolTip(QStringLiteral("Not accepted: type a whole number from %1 to %2.")
                        .arg(WholeNumberMinimum)
                        .arg(WholeNumberMaximum));
}
} // namespace

std::optional<std::int32_t> ParseWholeNumber(const QString& text)
{
    const QString digits = text.trimmed();
    if (digits.isEmpty() || digits.size() > 5)
        return std::nullopt;
    std::int32_t value = 0;
    for (const QChar c : digits)
    {
        if (c < QChar('0') || c > QChar('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

void ApplyWholeNumber(QLineEdit* box, std::int32_t& setting)
{
    const std::optional<std::int32_t> value = ParseWholeNumber(box->text());
    if (value)
        setting = *value;
    MarkAccepted(box, value.has_value());
}

void RestoreWholeNumber(QLineEdit* box, std::int32_t setting)
{
    if (box->property(NotAccepted).toBool())
        box->setText(QString::number(setting));
}

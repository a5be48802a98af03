#pragma once

#include <QString>

// A text that goes into a log line or an error message, with every occurrence of the password masked.
inline QString HidePassword(QString text, const QString& password)
{
    if (!password.isEmpty())
        text.replace(password, QStringLiteral("********"));
    return text;
}

#include "common/KeyValueText.h"

#include <QFile>

KeyValues ParseKeyValues(const QByteArray& text)
{
    KeyValues values;
    for (const QByteArray& bytes : text.split('\n'))
    {
        const QString line = QString::fromUtf8(bytes).trimmed();
        const qsizetype equals = line.indexOf(QChar('='));
        if (line.startsWith(QChar('#')) || equals <= 0)
            continue;
        values[line.left(equals).trimmed()] = line.mid(equals + 1).trimmed();
    }
    return values;
}

QByteArray KeyValueFileText(const QString& heading, const KeyValues& values)
{
    QByteArray text = "# " + heading.toUtf8() + '\n';
    for (const auto& [key, value] : values)
    {
        const QString oneLine =
            QString(value).replace(QChar('\n'), QChar(' ')).replace(QChar('\r'), QChar(' '));
        text += key.toUtf8() + '=' + oneLine.toUtf8() + '\n';
    }
    return text;
}

QByteArray ReadSettingsText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(1024 * 1024) : QByteArray();
}

#include "capture/driver/CaptureConfig.h"

#include "common/AtomicFile.h"

#include <QFile>

CaptureConfig::CaptureConfig(QString path) : path_(std::move(path))
{
    QFile file(path_);
    if (file.open(QIODevice::ReadOnly))
        Read(file.read(1024 * 1024));
}

CaptureConfig::CaptureConfig(QString path, const QByteArray& text) : path_(std::move(path))
{
    Read(text);
}

void CaptureConfig::Read(const QByteArray& text)
{
    for (const QByteArray& bytes : text.split('\n'))
    {
        const QString line = QString::fromUtf8(bytes).trimmed();
        const qsizetype equals = line.indexOf(QChar('='));
        if (line.startsWith(QChar('#')) || equals <= 0)
            continue;
        values_[line.left(equals).trimmed()] = line.mid(equals + 1).trimmed();
    }
}

QString CaptureConfig::Value(const QString& key, const QString& fallback) const
{
    const auto found = values_.find(key);
    return found != values_.end() ? found->second : fallback;
}

bool CaptureConfig::SetValue(const QString& key, const QString& value, QString* error)
{
    // One line per setting: a line break inside a value would split it.
    values_[key] = QString(value).replace(QChar('\n'), QChar(' ')).replace(QChar('\r'), QChar(' '));
    QByteArray text = "# Vantu capture settings: video source location, formats and display options.\n";
    for (const auto& [name, setting] : values_)
        text += name.toUtf8() + '=' + setting.toUtf8() + '\n';
    return ReplaceFileContents(path_, text, error);
}

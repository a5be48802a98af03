#include "capture/stream/StreamSettings.h"

#include "capture/driver/CaptureConfig.h"

#include <QStringList>

namespace
{
QString Key(const char* key)
{
    return QString::fromLatin1(key);
}
} // namespace

StreamSettings LoadStreamSettings(const CaptureConfig& config)
{
    StreamSettings settings;
    settings.Location = config.Value(Key(StreamLocationKey)).trimmed();
    settings.Transport =
        config.Value(Key(StreamTransportKey)).compare(QStringLiteral("udp"), Qt::CaseInsensitive) == 0
            ? StreamTransport::Udp
            : StreamTransport::Tcp;
    settings.Size = ParseStreamSize(config.Value(Key(StreamSizeKey)));
    return settings;
}

QSize LoadRememberedStreamSize(const CaptureConfig& config)
{
    return ParseStreamSize(config.Value(Key(StreamPictureKey)));
}

bool SaveStreamSettings(CaptureConfig& config, const StreamSettings& settings, QString* error)
{
    const QString transport =
        settings.Transport == StreamTransport::Udp ? QStringLiteral("udp") : QStringLiteral("tcp");
    return config.SetValue(Key(StreamLocationKey), settings.Location.trimmed(), error) &&
           config.SetValue(Key(StreamTransportKey), transport, error) &&
           config.SetValue(Key(StreamSizeKey), FormatStreamSize(settings.Size), error);
}

QString FormatStreamSize(QSize size)
{
    if (size.isEmpty())
        return {};
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

QSize ParseStreamSize(const QString& text)
{
    const QStringList parts = text.trimmed().split(QChar('x'), Qt::KeepEmptyParts, Qt::CaseInsensitive);
    if (parts.size() != 2)
        return {};
    bool widthOk = false;
    bool heightOk = false;
    const int width = parts[0].trimmed().toInt(&widthOk);
    const int height = parts[1].trimmed().toInt(&heightOk);
    if (!widthOk || !heightOk || width < 1 || height < 1 || width > StreamMaxSide || height > StreamMaxSide)
        return {};
    return {width, height};
}

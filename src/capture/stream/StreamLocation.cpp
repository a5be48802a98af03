#include "capture/stream/StreamLocation.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace
{
// The parts of an address scheme://[user[:password]@]host[:port][/path...]. The address is taken
// apart by hand rather than by QUrl so that a malformed address still has its password removed.
struct AddressParts
{
    QString Scheme;
    QString User;
    QString HostPort;
    QString Rest;
};

bool SplitAddress(const QString& location, AddressParts* parts)
{
    static const QRegularExpression scheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.\\-]+)://"));
    const QString text = location.trimmed();
    const QRegularExpressionMatch match = scheme.match(text);
    if (!match.hasMatch() || match.captured(1).compare(QStringLiteral("file"), Qt::CaseInsensitive) == 0)
        return false;
    const qsizetype start = match.capturedLength(0);
    qsizetype end = start;
    while (end < text.size() && text[end] != QChar('/') && text[end] != QChar('?') && text[end] != QChar('#'))
        ++end;
    const QString authority = text.mid(start, end - start);
    const qsizetype at = authority.lastIndexOf(QChar('@'));
    const QString userInfo = at >= 0 ? authority.left(at) : QString();
    parts->Scheme = match.captured(1);
    parts->User = userInfo.section(QChar(':'), 0, 0);
    parts->HostPort = authority.mid(at + 1);
    parts->Rest = text.mid(end);
    return true;
}

QString HostOf(const QString& hostPort)
{
    if (hostPort.startsWith(QChar('[')))
        return hostPort.mid(1).section(QChar(']'), 0, 0);
    return hostPort.section(QChar(':'), 0, 0);
}

QString LocalPath(const QString& location)
{
    const QString trimmed = location.trimmed();
    if (trimmed.startsWith(QStringLiteral("file:"), Qt::CaseInsensitive))
    {
        const QUrl url(trimmed);
        if (url.isLocalFile())
            return url.toLocalFile();
    }
    return trimmed;
}
} // namespace

bool IsNetworkStreamLocation(const QString& location)
{
    AddressParts parts;
    return SplitAddress(location, &parts);
}

QString RedactStreamLocation(const QString& location)
{
    AddressParts parts;
    if (!SplitAddress(location, &parts))
        return location.trimmed();
    const QString user = parts.User.isEmpty() ? QString() : parts.User + QChar('@');
    return parts.Scheme + QStringLiteral("://") + user + parts.HostPort + parts.Rest;
}

QString StreamSourceShortName(const QString& location)
{
    AddressParts parts;
    if (SplitAddress(location, &parts))
    {
        const QString host = HostOf(parts.HostPort);
        return host.isEmpty() ? RedactStreamLocation(location) : host;
    }
    const QString name = QFileInfo(LocalPath(location)).fileName();
    return name.isEmpty() ? location.trimmed() : name;
}

QString StreamDriverName(const QString& location)
{
    if (location.trimmed().isEmpty())
        return QStringLiteral("Network camera or video file");
    if (IsNetworkStreamLocation(location))
        return QStringLiteral("Network camera: ") + StreamSourceShortName(location);
    return QStringLiteral("Video file: ") + StreamSourceShortName(location);
}

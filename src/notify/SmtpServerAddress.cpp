#include "notify/SmtpServerAddress.h"

#include <QHostAddress>
#include <QUrl>

QString SmtpServerAddress::Url() const
{
    return (Tls ? QStringLiteral("smtps://") : QStringLiteral("smtp://")) + Display();
}

QString SmtpServerAddress::Display() const
{
    const QString host = Host.contains(QChar(':')) ? QChar('[') + Host + QChar(']') : Host;
    return host + QChar(':') + QString::number(Port);
}

bool SmtpServerAddress::IsLoopback() const
{
    return Host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0 ||
           QHostAddress(Host).isLoopback();
}

std::optional<SmtpServerAddress> ParseSmtpServer(const QString& text)
{
    QString trimmed = text.trimmed();
    if (!trimmed.contains(QStringLiteral("://")))
        trimmed.prepend(QStringLiteral("smtp://"));

    const QUrl url(trimmed, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    const bool pathless = url.path().isEmpty() || url.path() == QStringLiteral("/");
    if (!url.isValid() || (scheme != QStringLiteral("smtp") && scheme != QStringLiteral("smtps")) ||
        url.host().isEmpty() || !url.userInfo().isEmpty() || !pathless || url.hasQuery() || url.hasFragment())
        return std::nullopt;

    SmtpServerAddress address;
    address.Tls = scheme == QStringLiteral("smtps");
    address.Host = url.host();
    address.Port = url.port(address.Tls ? 465 : 25);
    if (address.Port <= 0)
        return std::nullopt;
    return address;
}

#include "capture/stream/module/StreamResolver.h"

#include "capture/stream/StreamLocation.h"

#include <QUrl>
#include <netdb.h>
#include <sys/socket.h>

bool ResolveStreamHost(const QString& host, QString* error)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int result = ::getaddrinfo(host.toUtf8().constData(), nullptr, &hints, &found);
    if (found != nullptr)
        ::freeaddrinfo(found);
    if (result == 0)
        return true;
    *error = QStringLiteral("the name %1 could not be found (%2)")
                 .arg(host, QString::fromLocal8Bit(::gai_strerror(result)));
    return false;
}

QString StreamLocationHost(const QString& location)
{
    if (!IsNetworkStreamLocation(location))
        return {};
    return QUrl(location.trimmed()).host();
}

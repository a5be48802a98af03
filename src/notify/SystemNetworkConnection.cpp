#include "notify/SystemNetworkConnection.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>

namespace
{
const QString NetworkManagerService = QStringLiteral("org.freedesktop.NetworkManager");
const QString NetworkManagerPath = QStringLiteral("/org/freedesktop/NetworkManager");
const QString DeviceInterface = QStringLiteral("org.freedesktop.NetworkManager.Device");
constexpr uint DeviceDisconnected = 30;

QDBusMessage Call(const QDBusConnection& bus, const QString& path, const QString& interface,
                  const QString& method, const QList<QVariant>& arguments = {})
{
    QDBusMessage message = QDBusMessage::createMethodCall(NetworkManagerService, path, interface, method);
    message.setArguments(arguments);
    return bus.call(message, QDBus::Block, static_cast<int>(SystemNetworkConnection::CallTimeout.count()));
}

uint DeviceState(const QDBusConnection& bus, const QString& device)
{
    const QDBusMessage reply = Call(bus, device, QStringLiteral("org.freedesktop.DBus.Properties"),
                                    QStringLiteral("Get"), {DeviceInterface, QStringLiteral("State")});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return 0;
    return qvariant_cast<QDBusVariant>(reply.arguments().constFirst()).variant().toUInt();
}
} // namespace

bool CountsAsConnected(std::optional<QNetworkInformation::Reachability> reachability)
{
    using Reachability = QNetworkInformation::Reachability;
    return !reachability || *reachability == Reachability::Online || *reachability == Reachability::Unknown;
}

SystemNetworkConnection::SystemNetworkConnection(QString busAddress) : busAddress_(std::move(busAddress)) {}

bool SystemNetworkConnection::IsConnected()
{
    // The backend is loaded on first use: the default one (NetworkManager), else any that knows
    // reachability (GLib's network monitor).
    if (!backendTried_)
    {
        backendTried_ = true;
        if (!QNetworkInformation::loadDefaultBackend())
            QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
    }
    const QNetworkInformation* information = QNetworkInformation::instance();
    return CountsAsConnected(information ? std::optional(information->reachability()) : std::nullopt);
}

bool SystemNetworkConnection::AutoDialConnect()
{
    // Without NetworkManager on the bus the first call comes back with an error at once.
    const QDBusConnection bus = busAddress_.isEmpty()
                                    ? QDBusConnection::systemBus()
                                    : QDBusConnection::connectToBus(busAddress_, busAddress_);
    if (!bus.isConnected())
        return false;
    const QDBusMessage devices =
        Call(bus, NetworkManagerPath, NetworkManagerService, QStringLiteral("GetDevices"));
    if (devices.type() != QDBusMessage::ReplyMessage || devices.arguments().isEmpty())
        return false;
    const auto paths = qdbus_cast<QList<QDBusObjectPath>>(devices.arguments().constFirst());
    for (const QDBusObjectPath& device : paths)
    {
        if (DeviceState(bus, device.path()) != DeviceDisconnected)
            continue;
        // "/" as the connection lets NetworkManager pick the best connection for the device.
        const QDBusMessage activated =
            Call(bus, NetworkManagerPath, NetworkManagerService, QStringLiteral("ActivateConnection"),
                 {QVariant::fromValue(QDBusObjectPath(QStringLiteral("/"))), QVariant::fromValue(device),
                  QVariant::fromValue(QDBusObjectPath(QStringLiteral("/")))});
        if (activated.type() == QDBusMessage::ReplyMessage)
            return true;
    }
    return false;
}

#include "support/FakeNetworkManager.h"

namespace
{
QString ReadLine(QProcess& process)
{
    while (!process.canReadLine() && process.waitForReadyRead(10000))
    {
    }
    return QString::fromUtf8(process.readLine()).trimmed();
}
} // namespace

FakeNetworkManager::FakeNetworkManager(bool allConnected)
{
    // The bus complains that it may not raise its file limit; that is of no matter here.
    bus_.setStandardErrorFile(QProcess::nullDevice());
    bus_.start(QStringLiteral("dbus-daemon"),
               {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1"),
                QStringLiteral("--address=unix:path=") + folder_.filePath(QStringLiteral("bus"))});
    address_ = ReadLine(bus_);
    if (address_.isEmpty())
        return;

    QStringList arguments{QStringLiteral(VANTU_TEST_SUPPORT_DIR "/fake_network_manager.py"), address_};
    if (allConnected)
        arguments << QStringLiteral("--all-connected");
    manager_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // The system's Python, which Debian's python3-dbus belongs to.
    manager_.start(QStringLiteral("/usr/bin/python3"), arguments);
    ready_ = ReadLine(manager_) == QStringLiteral("ready");
}

FakeNetworkManager::~FakeNetworkManager()
{
    for (QProcess* process : {&manager_, &bus_})
    {
        process->kill();
        process->waitForFinished(5000);
    }
}

QStringList FakeNetworkManager::Activations()
{
    // Each call is printed before it is answered, so its line is in the pipe by now.
    manager_.waitForReadyRead(0);
    while (manager_.canReadLine())
        activations_ << QString::fromUtf8(manager_.readLine()).trimmed().section(QChar(' '), 1);
    return activations_;
}

#include "support/FakeNotifications.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QJsonDocument>

namespace
{
QString ReadServiceLine(QProcess& process)
{
    while (!process.canReadLine() && process.waitForReadyRead(10000))
    {
    }
    return QString::fromUtf8(process.readLine()).trimmed();
}
} // namespace

FakeNotifications::FakeNotifications(bool withService, const QString& capabilities, const QString& invoke)
{
    bus_.setStandardErrorFile(QProcess::nullDevice());
    bus_.start(QStringLiteral("dbus-daemon"),
               {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1"),
                QStringLiteral("--address=unix:path=") + folder_.filePath(QStringLiteral("bus"))});
    address_ = ReadServiceLine(bus_);
    if (address_.isEmpty() || !withService)
    {
        ready_ = !address_.isEmpty();
        return;
    }
    service_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    service_.start(QStringLiteral("/usr/bin/python3"),
                   {QStringLiteral(VANTU_TEST_SUPPORT_DIR "/fake_notifications.py"), address_,
                    QStringLiteral("--capabilities=") + capabilities, QStringLiteral("--invoke=") + invoke});
    ready_ = ReadServiceLine(service_) == QStringLiteral("ready");
}

FakeNotifications::~FakeNotifications()
{
    for (QProcess* process : {&service_, &bus_})
    {
        process->kill();
        process->waitForFinished(5000);
    }
}

QList<QJsonObject> FakeNotifications::Calls(int count)
{
    const QDeadlineTimer deadline(5000);
    while (true)
    {
        while (service_.canReadLine())
            calls_ << QJsonDocument::fromJson(service_.readLine()).object();
        if (calls_.size() >= count || deadline.hasExpired())
            return calls_;
        // The answers to the program's calls come through its event loop.
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        service_.waitForReadyRead(50);
    }
}

#pragma once

#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A private D-Bus bus, with a stand-in for the desktop's notification service on it unless there is
// to be none, for as long as the object lives.
class FakeNotifications
{
public:
    // capabilities: what the service answers to GetCapabilities, comma-separated; invoke: the action the
    // service reports as chosen for each new notification, if any.
    FakeNotifications(bool withService,
                      const QString& capabilities = QStringLiteral("actions,body,icon-static"),
                      const QString& invoke = {});
    ~FakeNotifications();

    bool Started() const { return ready_; }
    QString BusAddress() const { return address_; }
    // The Notify calls so far, waiting up to five seconds for there to be at least count.
    QList<QJsonObject> Calls(int count);

private:
    QTemporaryDir folder_;
    QProcess bus_;
    QProcess service_;
    QString address_;
    bool ready_ = false;
    QList<QJsonObject> calls_;
};

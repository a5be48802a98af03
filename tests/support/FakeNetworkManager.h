#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A private D-Bus bus with a stand-in for NetworkManager on it, for as long as the object lives.
class FakeNetworkManager
{
public:
    explicit FakeNetworkManager(bool allConnected = false);
    ~FakeNetworkManager();

    bool Started() const { return ready_; }
    QString BusAddress() const { return address_; }
    // The ActivateConnection calls so far, each as "connection device specific-object".
    QStringList Activations();

private:
    QTemporaryDir folder_;
    QProcess bus_;
    QProcess manager_;
    QString address_;
    bool ready_ = false;
    QStringList activations_;
};

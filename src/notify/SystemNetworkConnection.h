#pragma once

#include "notify/NetworkConnection.h"

#include <QNetworkInformation>
#include <QString>
#include <chrono>
#include <optional>

// Whether mail can go out: the network status says the internet is reachable, or the status is
// unknown. Without any network status service (no NetworkManager, a container) mail is simply tried.
bool CountsAsConnected(std::optional<QNetworkInformation::Reachability> reachability);

// The desktop's network status (Qt's network information backends), and NetworkManager on the system
// bus to bring a connection up.
class SystemNetworkConnection final : public INetworkConnection
{
public:
    // Longest wait for one answer of NetworkManager.
    static constexpr std::chrono::milliseconds CallTimeout{250};

    // NetworkManager is asked on the system bus, or on the bus at busAddress when one is given.
    explicit SystemNetworkConnection(QString busAddress = {});

    bool IsConnected() override;
    // Asks NetworkManager to activate the best connection of the first available device that is not
    // connected. False without NetworkManager, when it refuses, or when no device waits to connect.
    bool AutoDialConnect() override;

private:
    QString busAddress_;
    bool backendTried_ = false;
};

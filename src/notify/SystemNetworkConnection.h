#pragma once

#include "notify/NetworkConnection.h"

// The desktop's own network status, and its network manager to bring a connection up.
class SystemNetworkConnection final : public INetworkConnection
{
public:
    bool IsConnected() override;
    bool AutoDialConnect() override;
};

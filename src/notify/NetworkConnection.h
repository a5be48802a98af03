#pragma once

// Whether the machine can reach the internet, and a request to bring a connection up.
class INetworkConnection
{
public:
    virtual ~INetworkConnection() = default;
    // True when mail can be sent now.
    virtual bool IsConnected() = 0;
    // Asks the system to bring a connection up; true when it reports success.
    virtual bool AutoDialConnect() = 0;
};

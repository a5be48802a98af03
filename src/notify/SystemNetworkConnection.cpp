#include "notify/SystemNetworkConnection.h"

bool SystemNetworkConnection::IsConnected()
{
    return true;
}

bool SystemNetworkConnection::AutoDialConnect()
{
    return false;
}

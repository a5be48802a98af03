#pragma once

#include <QString>
#include <functional>

// Looks up the host name of a network location before the source is opened, on the driver's thread:
// true when it names a reachable address, otherwise false with a plain description in error. A lookup
// may take long or never return; the driver does not wait for it when it closes.
using StreamResolver = std::function<bool(const QString& host, QString* error)>;

// The system's name lookup.
bool ResolveStreamHost(const QString& host, QString* error);

// The host name of a network location; empty for a local file or an address without one.
QString StreamLocationHost(const QString& location);

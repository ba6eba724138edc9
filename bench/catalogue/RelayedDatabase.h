#pragma once
// Reaching a database through the Firebird server on loopback, directly or behind a
// relay that adds a line's latency.
#include "database/testing/relay/LoopbackRelay.h"

#include <QString>
#include <cstdint>

// The port of the loopback server (scripts/firebird-server.sh).
constexpr std::uint16_t kServerPort = 3050;

// The connection string of `file` through the server, by way of the relay's port.
inline QString relayedDatabase(const TLoopbackRelay &relay, const QString &file)
{
    return QStringLiteral("127.0.0.1/%1:%2").arg(relay.port()).arg(file);
}

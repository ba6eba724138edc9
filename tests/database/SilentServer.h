#pragma once
// A loopback listener that accepts connections and never says a word on them: a server
// that holds a client's attach until the client gives up.
#include "util/Errors.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

class TSilentServer
{
public:
    TSilentServer()
    {
        fSocket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        // The kernel completes the handshake from the backlog: nothing needs to accept.
        if (fSocket < 0 || ::bind(fSocket, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
            || ::listen(fSocket, 8) != 0
            || ::getsockname(fSocket, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            throw EPosError(QStringLiteral("No loopback listener for the test"));
        fPort = ntohs(address.sin_port);
    }
    ~TSilentServer() { ::close(fSocket); }
    int port() const { return fPort; }

private:
    int fSocket = -1;
    int fPort = 0;
};

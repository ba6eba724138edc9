#include "database/testing/relay/LoopbackRelay.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <system_error>
#include <unistd.h>

namespace {

[[noreturn]] void throwSystemError(const char *what)
{
    throw std::system_error(errno, std::generic_category(), what);
}

sockaddr_in loopback(std::uint16_t port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// The relay adds the delay it is told to and no more: small writes go out at once.
void sendAtOnce(int socket)
{
    const int on = 1;
    ::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

int connectToTarget(std::uint16_t port)
{
    const int server = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (server < 0)
        return -1;
    const sockaddr_in address = loopback(port);
    if (::connect(server, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
        ::close(server);
        return -1;
    }
    sendAtOnce(server);
    return server;
}

} // namespace

TLoopbackRelay::TSession::~TSession()
{
    ::shutdown(client, SHUT_RDWR);
    ::shutdown(server, SHUT_RDWR);
    up.reset();
    down.reset();
    ::close(client);
    ::close(server);
}

TLoopbackRelay::TLoopbackRelay(std::chrono::milliseconds delay, std::uint16_t targetPort)
    : fDelay(delay), fTargetPort(targetPort)
{
}

TLoopbackRelay::~TLoopbackRelay()
{
    stop();
}

void TLoopbackRelay::start(std::uint16_t port)
{
    if (fAcceptor.joinable())
        throw std::logic_error("the relay is running already");
    fListener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fListener < 0)
        throwSystemError("socket");
    try {
        const int on = 1;
        ::setsockopt(fListener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        sockaddr_in address = loopback(port);
        if (::bind(fListener, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0)
            throwSystemError("bind to 127.0.0.1");
        if (::listen(fListener, SOMAXCONN) != 0)
            throwSystemError("listen");
        socklen_t length = sizeof address;
        if (::getsockname(fListener, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            throwSystemError("getsockname");
        if (::pipe2(fWake, O_CLOEXEC) != 0)
            throwSystemError("pipe");
        fPort = ntohs(address.sin_port);
    } catch (...) {
        ::close(fListener);
        fListener = -1;
        throw;
    }
    fFrozen = false;
    fAcceptor = std::thread(&TLoopbackRelay::acceptLoop, this);
}

void TLoopbackRelay::stop()
{
    if (!fAcceptor.joinable())
        return;
    const char wake = 0;
    while (::write(fWake[1], &wake, 1) < 0 && errno == EINTR) {
    }
    fAcceptor.join();
    fSessions.clear();
    ::close(fListener);
    ::close(fWake[0]);
    ::close(fWake[1]);
    fListener = fWake[0] = fWake[1] = -1;
    fPort = 0;
}

std::uint16_t TLoopbackRelay::port() const
{
    return fPort;
}

std::int64_t TLoopbackRelay::requests() const
{
    return fRequests.load();
}

std::int64_t TLoopbackRelay::replies() const
{
    return fReplies.load();
}

void TLoopbackRelay::resetCount()
{
    fRequests = 0;
    fReplies = 0;
}

void TLoopbackRelay::cutAtNextRequest(TLineCut cut)
{
    fArmedCut = cut;
}

void TLoopbackRelay::freeze()
{
    fFrozen = true;
}

void TLoopbackRelay::acceptLoop()
{
    pollfd watched[2] = {{fListener, POLLIN, 0}, {fWake[0], POLLIN, 0}};
    for (;;) {
        if (::poll(watched, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (watched[1].revents != 0)
            break;
        if (watched[0].revents & POLLIN) {
            const int client = ::accept4(fListener, nullptr, nullptr, SOCK_CLOEXEC);
            if (client >= 0)
                relay(client);
        }
        closeFinishedSessions();
    }
}

// A client whose server cannot be reached is closed at once, as a refused connection.
void TLoopbackRelay::relay(int client)
{
    const int server = connectToTarget(fTargetPort);
    if (server < 0) {
        ::close(client);
        return;
    }
    sendAtOnce(client);
    TSession &session = fSessions.emplace_back();
    session.client = client;
    session.server = server;
    session.up = std::make_unique<TRelayDirection>(client, server, fDelay, fRequests,
                                                   TCutSwitch{&fArmedCut, &session.cut, &fFrozen});
    session.down = std::make_unique<TRelayDirection>(server, client, fDelay, fReplies,
                                                     TCutSwitch{nullptr, &session.cut, &fFrozen});
}

void TLoopbackRelay::closeFinishedSessions()
{
    fSessions.remove_if([](const TSession &s) { return s.up->finished() && s.down->finished(); });
}

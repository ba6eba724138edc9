#pragma once
// A relay on loopback that puts a line's latency between a client and a server on the
// same machine: it listens on a 127.0.0.1 port, forwards every connection it accepts
// to 127.0.0.1:<target>, and holds each chunk it reads a set time in each direction.
// It counts the chunks clients send, which is the number of requests they make. It can
// cut the line at a request, as a network that fails at that moment would, or go dead.
#include "database/testing/relay/RelayDirection.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <list>
#include <memory>
#include <thread>

class TLoopbackRelay
{
public:
    TLoopbackRelay(std::chrono::milliseconds delay, std::uint16_t targetPort);
    ~TLoopbackRelay(); // stops
    TLoopbackRelay(const TLoopbackRelay &) = delete;
    TLoopbackRelay &operator=(const TLoopbackRelay &) = delete;

    // Listens on 127.0.0.1:port, 0 for a free port; throws std::system_error.
    void start(std::uint16_t port = 0);
    // Closes the listener and every relayed connection and joins every thread; the
    // counters stay readable. Harmless when not started.
    void stop();
    // The port listened on (0 before start).
    std::uint16_t port() const;

    // Chunks read from clients, and from the server, since start or the last resetCount.
    std::int64_t requests() const;
    std::int64_t replies() const;
    void resetCount();

    // The next chunk any client sends ends its connection: passed on to the server
    // (PassOn) or dropped (Drop), after which both ends are closed and no reply to it
    // reaches the client. The wire may be encrypted, so the caller arms it just before the
    // request it means, while the client waits for nothing else. Connections made later
    // are relayed as before.
    void cutAtNextRequest(TLineCut cut);
    // From now on nothing is passed on, either way, on any connection, present or later,
    // while each stays open: a line gone dead without a word. Only stop ends it; a start
    // after it passes everything on again.
    void freeze();

private:
    struct TSession
    {
        int client = -1;
        int server = -1;
        std::atomic<bool> cut{false};
        std::unique_ptr<TRelayDirection> up;   // client to server
        std::unique_ptr<TRelayDirection> down; // server to client
        ~TSession();
    };

    void acceptLoop();
    void relay(int client);
    void closeFinishedSessions();

    const std::chrono::milliseconds fDelay;
    const std::uint16_t fTargetPort;
    std::uint16_t fPort = 0;
    int fListener = -1;
    int fWake[2] = {-1, -1}; // written to by stop to end the accept loop
    std::thread fAcceptor;
    std::list<TSession> fSessions; // the accept loop's alone until it has been joined
    std::atomic<std::int64_t> fRequests{0};
    std::atomic<std::int64_t> fReplies{0};
    std::atomic<TLineCut> fArmedCut{TLineCut::None};
    std::atomic<bool> fFrozen{false};
};

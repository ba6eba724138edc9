#pragma once
// One direction of a relayed connection. A reader thread stamps every chunk it reads with
// the time it is due and queues it; a writer thread sends each on, in order, once due.
// Reading never waits for the delay, so a long stream pays the latency once, as on a
// real line, and not once per chunk.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

// How the line is cut at the next chunk a client sends: that chunk passed on to the
// server, or dropped.
enum class TLineCut { None, PassOn, Drop };

// What a connection's two directions share about a cut.
struct TCutSwitch
{
    // Armed for the relay's next request, whichever connection sends it; taken once.
    std::atomic<TLineCut> *armed = nullptr;
    // Set on this connection once it took the cut: nothing more goes back to the client.
    std::atomic<bool> *taken = nullptr;
    // Set on the relay while the line is dead: nothing is passed on either way.
    const std::atomic<bool> *frozen = nullptr;
};

class TRelayDirection
{
public:
    // Starts both threads: reads from the socket `from`, writes to `to` (both stay the
    // caller's to close); every chunk read adds one to `chunks`. The client-to-server
    // direction takes an armed cut (its switch has `armed`); both keep to `taken`.
    TRelayDirection(int from, int to, std::chrono::milliseconds delay, std::atomic<std::int64_t> &chunks,
                    TCutSwitch cut);
    ~TRelayDirection(); // aborts and joins
    TRelayDirection(const TRelayDirection &) = delete;
    TRelayDirection &operator=(const TRelayDirection &) = delete;

    // The end of `from` is passed on as a half-close of `to`, once the queue is sent.
    // A failed write shuts both sockets down, which ends the other direction too.
    bool finished() const;
    // Drops what is queued; the writer ends at once, the reader once its socket is shut down.
    void abort();
    void join();

private:
    using TClock = std::chrono::steady_clock;
    struct TChunk
    {
        TClock::time_point due;
        std::vector<char> bytes;
        bool last = false; // the connection is cut once it is sent
    };

    void readLoop();
    void writeLoop();
    bool sendAll(const std::vector<char> &bytes) const;
    TLineCut takeArmedCut();
    void shutBoth() const;

    const int fFrom;
    const int fTo;
    const std::chrono::milliseconds fDelay;
    std::atomic<std::int64_t> &fChunks;
    const TCutSwitch fCut;

    std::mutex fMutex;
    std::condition_variable fChanged;
    std::deque<TChunk> fQueue;
    bool fInputEnded = false;
    bool fAborted = false;
    std::atomic<int> fRunning{2};

    std::thread fReader;
    std::thread fWriter;
};

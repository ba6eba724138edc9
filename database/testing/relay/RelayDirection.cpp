#include "database/testing/relay/RelayDirection.h"

#include <cerrno>
#include <sys/socket.h>
#include <sys/types.h>

namespace {

// Large enough that a server's batch of rows arrives in few chunks.
constexpr std::size_t kChunkBytes = 64 * 1024;

} // namespace

TRelayDirection::TRelayDirection(int from, int to, std::chrono::milliseconds delay, std::atomic<std::int64_t> &chunks,
                                 TCutSwitch cut)
    : fFrom(from), fTo(to), fDelay(delay), fChunks(chunks), fCut(cut)
{
    fReader = std::thread(&TRelayDirection::readLoop, this);
    fWriter = std::thread(&TRelayDirection::writeLoop, this);
}

TRelayDirection::~TRelayDirection()
{
    abort();
    join();
}

bool TRelayDirection::finished() const
{
    return fRunning.load() == 0;
}

void TRelayDirection::abort()
{
    {
        std::lock_guard<std::mutex> lock(fMutex);
        fAborted = true;
        fQueue.clear();
    }
    fChanged.notify_all();
}

void TRelayDirection::join()
{
    if (fReader.joinable())
        fReader.join();
    if (fWriter.joinable())
        fWriter.join();
}

void TRelayDirection::readLoop()
{
    std::vector<char> buffer(kChunkBytes);
    for (;;) {
        const ssize_t got = ::recv(fFrom, buffer.data(), buffer.size(), 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        const TClock::time_point due = TClock::now() + fDelay;
        ++fChunks;
        const TLineCut cut = takeArmedCut();
        if (cut == TLineCut::Drop) {
            shutBoth();
            break;
        }
        {
            std::lock_guard<std::mutex> lock(fMutex);
            if (fAborted)
                break;
            fQueue.push_back({due, std::vector<char>(buffer.begin(), buffer.begin() + got), cut == TLineCut::PassOn});
        }
        fChanged.notify_all();
    }
    {
        std::lock_guard<std::mutex> lock(fMutex);
        fInputEnded = true;
    }
    fChanged.notify_all();
    --fRunning;
}

void TRelayDirection::writeLoop()
{
    std::unique_lock<std::mutex> lock(fMutex);
    for (;;) {
        fChanged.wait(lock, [this] { return fAborted || fInputEnded || !fQueue.empty(); });
        if (fAborted)
            break;
        if (fQueue.empty()) { // the input ended and everything read has been sent
            ::shutdown(fTo, SHUT_WR);
            break;
        }
        const TClock::time_point due = fQueue.front().due;
        if (fChanged.wait_until(lock, due, [this] { return fAborted; }))
            break;
        // A dead line keeps its connections open and says nothing; only stop ends them.
        while (fCut.frozen->load() && !fAborted)
            fChanged.wait_for(lock, std::chrono::milliseconds(50));
        if (fAborted)
            break;
        const TChunk chunk = std::move(fQueue.front());
        fQueue.pop_front();
        lock.unlock();
        // A connection that took a cut passes nothing back: the client must not learn
        // whether the server got its last request.
        const bool dropped = !fCut.armed && fCut.taken->load();
        const bool sent = dropped || sendAll(chunk.bytes);
        lock.lock();
        if (!sent) {
            shutBoth();
            break;
        }
        if (chunk.last) {
            // The client loses the line at once; the server reads to the end of what it
            // was sent, so that it acts on it, and its replies are read and dropped.
            ::shutdown(fFrom, SHUT_RDWR);
            ::shutdown(fTo, SHUT_WR);
            break;
        }
    }
    --fRunning;
}

// The cut armed on the relay, taken by the first chunk that comes after it.
TLineCut TRelayDirection::takeArmedCut()
{
    if (!fCut.armed || fCut.armed->load() == TLineCut::None)
        return TLineCut::None;
    const TLineCut cut = fCut.armed->exchange(TLineCut::None);
    if (cut != TLineCut::None)
        *fCut.taken = true;
    return cut;
}

void TRelayDirection::shutBoth() const
{
    ::shutdown(fFrom, SHUT_RDWR);
    ::shutdown(fTo, SHUT_RDWR);
}

bool TRelayDirection::sendAll(const std::vector<char> &bytes) const
{
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        // MSG_NOSIGNAL: a peer that has gone away is a failed write, not a SIGPIPE.
        const ssize_t put = ::send(fTo, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        sent += std::size_t(put);
    }
    return true;
}

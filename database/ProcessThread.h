#pragma once
// A thread of the process's own for one kind of background work: started on first use,
// stopped and joined with its owner. The owner's state that the thread works on is
// guarded by mutex() and changed through change(), which wakes the thread; the thread's
// loop runs under the lock, waits on changed() and ends once stopping() is set.
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class TProcessThread
{
public:
    using TLoop = std::function<void(std::unique_lock<std::mutex> &lock)>;

    explicit TProcessThread(TLoop loop);
    // Sets stopping(), wakes the loop and waits for it to end.
    ~TProcessThread();
    TProcessThread(const TProcessThread &) = delete;
    TProcessThread &operator=(const TProcessThread &) = delete;

    // Runs edit under the lock, the thread started first if need be, then wakes the thread.
    void change(const std::function<void()> &edit);

    std::mutex &mutex() { return fMutex; }
    std::condition_variable &changed() { return fChanged; }
    // Under the lock.
    bool stopping() const { return fStopping; }

private:
    TLoop fLoop;
    std::mutex fMutex;
    std::condition_variable fChanged;
    bool fStopping = false;
    std::thread fThread;
};

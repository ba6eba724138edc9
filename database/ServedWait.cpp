#include "database/ServedWait.h"

#include "database/ProcessThread.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QThread>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>

namespace {

// Most calls end within a few milliseconds: waiting that long for them before serving
// events spares them the event loop's cost and the window a flicker of busy state.
constexpr std::chrono::milliseconds kQuietWait{20};

// One thread for every served call in the process, so that a call costs a hand-over,
// not a thread's start.
class TDatabaseThread
{
public:
    static TDatabaseThread &instance()
    {
        static TDatabaseThread thread;
        return thread;
    }

    // Runs work on the thread.
    void post(std::function<void()> work)
    {
        fThread.change([&] { fWork = std::move(work); });
    }

private:
    TDatabaseThread() = default;

    void loop(std::unique_lock<std::mutex> &lock)
    {
        for (;;) {
            fThread.changed().wait(lock, [this] { return fThread.stopping() || fWork; });
            if (!fWork)
                return;
            std::function<void()> work = std::move(fWork);
            fWork = nullptr;
            lock.unlock();
            work();
            lock.lock();
        }
    }

    std::function<void()> fWork;
    // Last, so that it ends before the work slot goes.
    TProcessThread fThread{[this](std::unique_lock<std::mutex> &lock) { loop(lock); }};
};

// Refuses the close of any window that the window system asks for while installed.
class TCloseRefusal : public QObject
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Close && event->spontaneous()) {
            event->ignore();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

// One served call: its outcome, and the wake-up of whoever waits for it.
struct TServedCall
{
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    std::exception_ptr failure;
    QEventLoop *loop = nullptr; // set while the calling thread serves events
};

// Whether the application's thread is serving events for a call: a call that an event
// starts meanwhile runs in place, after the first, as the attachment serves one at a time.
bool serving = false;

} // namespace

void runServingEvents(const std::function<void()> &work)
{
    QCoreApplication *application = QCoreApplication::instance();
    if (!application || QThread::currentThread() != application->thread() || serving) {
        work();
        return;
    }

    TServedCall call;
    TDatabaseThread::instance().post([&call, &work] {
        std::exception_ptr failure;
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        std::lock_guard<std::mutex> lock(call.mutex);
        call.failure = failure;
        call.done = true;
        call.ended.notify_all();
        if (call.loop)
            QMetaObject::invokeMethod(call.loop, &QEventLoop::quit, Qt::QueuedConnection);
    });

    std::unique_lock<std::mutex> lock(call.mutex);
    if (!call.ended.wait_for(lock, kQuietWait, [&] { return call.done; })) {
        QEventLoop loop;
        call.loop = &loop;
        lock.unlock();
        TCloseRefusal refusal;
        application->installEventFilter(&refusal);
        serving = true;
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        serving = false;
        application->removeEventFilter(&refusal);
        lock.lock();
        // The loop ends early when the application quits; the call is waited for all the same.
        call.ended.wait(lock, [&] { return call.done; });
    }
    if (call.failure)
        std::rethrow_exception(call.failure);
}

#include "backup/standin/controls/TStowlineWorker.h"

#include "backup/standin/jobs/StowlineLog.h"

#include <QThread>

// Carries what the work thread reports over to the worker's own thread; reports for
// a worker that is gone are dropped by Qt.
class TStowlineWorker::TProgressRelay : public TJobProgress
{
public:
    TProgressRelay(TStowlineWorker *worker, std::shared_ptr<std::atomic<bool>> cancel)
        : fWorker(worker), fCancel(std::move(cancel))
    {
    }

    void step(const QString &what) override
    {
        StowlineLog(what);
        post([w = fWorker, what] { emit w->stepped(what); });
    }
    void message(const QString &line) override
    {
        post([w = fWorker, line] { emit w->messaged(line); });
    }
    void percent(int value) override
    {
        post([w = fWorker, value] { emit w->percentReached(value); });
    }
    bool cancelRequested() const override { return *fCancel; }

private:
    template <class F>
    void post(F &&f)
    {
        QMetaObject::invokeMethod(fWorker, std::forward<F>(f), Qt::QueuedConnection);
    }

    TStowlineWorker *fWorker;
    std::shared_ptr<std::atomic<bool>> fCancel;
};

TStowlineWorker::TStowlineWorker(QObject *parent) : QObject(parent)
{
}

TStowlineWorker::~TStowlineWorker()
{
    if (fThread) {
        *fCancelRequested = true;
        fThread->wait();
        delete fThread;
    }
}

void TStowlineWorker::run(TJob job)
{
    fCancelRequested = std::make_shared<std::atomic<bool>>(false);
    auto relay = std::make_shared<TProgressRelay>(this, fCancelRequested);
    fThread = QThread::create([this, job, relay] {
        QString result, error;
        bool cancelled = false;
        try {
            result = job(*relay);
        } catch (const EAbort &) {
            cancelled = true;
        } catch (const std::exception &e) {
            error = errorText(e);
        }
        QMetaObject::invokeMethod(
            this, [this, result, error, cancelled] { threadEnded(result, error, cancelled); }, Qt::QueuedConnection);
    });
    fThread->start();
}

void TStowlineWorker::requestCancel()
{
    *fCancelRequested = true;
}

void TStowlineWorker::threadEnded(const QString &result, const QString &error, bool cancelled)
{
    fThread->wait();
    delete fThread;
    fThread = nullptr;
    emit finished(result, error, cancelled);
}

#pragma once
// Runs a control's work on a thread of its own, so that the window stays responsive,
// and reports back on the thread that owns the worker: the work's steps, messages and
// percentage as they come, then how the work ended.
#include "backup/standin/jobs/JobProgress.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>

class QThread;

class TStowlineWorker : public QObject
{
    Q_OBJECT
public:
    // The work of one run; its result text goes to finished.
    using TJob = std::function<QString(TJobProgress &)>;

    explicit TStowlineWorker(QObject *parent = nullptr);
    // The work cannot outlive its worker: it stops at its next safe point.
    ~TStowlineWorker() override;

    // Starts the work; the caller starts nothing while work runs.
    void run(TJob job);
    // Asks running work to stop at its next safe point.
    void requestCancel();
    bool isRunning() const { return fThread != nullptr; }

signals:
    void stepped(const QString &what);
    void messaged(const QString &line);
    // A negative value: the work cannot say how far it is.
    void percentReached(int value);
    // Once the work's thread has ended: its result, or its error, or that it was cancelled.
    void finished(const QString &result, const QString &error, bool cancelled);

private:
    class TProgressRelay;

    void threadEnded(const QString &result, const QString &error, bool cancelled);

    QThread *fThread = nullptr;
    std::shared_ptr<std::atomic<bool>> fCancelRequested;
};

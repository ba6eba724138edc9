#pragma once
// What a job of the component reports while it runs on its own thread.
#include "util/Errors.h"

#include <QString>

class TJobProgress
{
public:
    virtual ~TJobProgress() = default;
    // A new stage of the work, in words for the operator.
    virtual void step(const QString &what) = 0;
    // One message of the database service or of the job.
    virtual void message(const QString &line) = 0;
    // How far the stage has got, 0 to 100; -1 when that cannot be told.
    virtual void percent(int value) = 0;
    // True once the operator asked to stop.
    virtual bool cancelRequested() const = 0;
};

// Ends the job with the silent abort when a cancel was asked for; jobs call it at
// the points where stopping leaves nothing half done.
inline void StopIfCancelled(const TJobProgress &progress)
{
    if (progress.cancelRequested())
        throw EAbort();
}

#pragma once
// Where a control's work stands as its ModalResult tells the host: running (0) until
// the control ends, then succeeded (1), failed (2) or cancelled by the operator (3) for
// good. Work that started by
// itself and failed still ends the control; work an operator started may be retried.
#include "backup/standin/controls/TStowlineProperties.h"

class TStowlineResult
{
public:
    // Declares ModalResult among the properties: read-only, running.
    TStowlineResult(TStowlineProperties &properties, TDispId modalResultId);

    // Whether ModalResult has left running; work starts only before.
    bool hasEnded() const;
    // Ends the control with this result.
    void end(qint32 result);

    // The work started by itself once the control was shown.
    void markAutoStarted() { fAutoStarted = true; }
    // The work succeeded: Close ends the control with success from now on.
    void succeed() { fSucceeded = true; }
    bool hasSucceeded() const { return fSucceeded; }
    // The work failed: Close ends the control with that failure from now on, unless a
    // later run succeeds.
    void fail() { fFailed = true; }
    // What Close (Cancel when idle) ends with: success when the work has succeeded, failure
    // when it failed, else the operator's cancel of work that never ran.
    qint32 resultOnClose() const;

    // What a failure of the work leads to, given how long a failure of work that
    // started by itself may stay on screen.
    enum class TAfterFailure {
        Retry,       // the operator who started it may try again
        EndNow,      // nobody waits to read why
        EndAfterWait // the reason stays on screen until Close, or the wait at most
    };
    TAfterFailure afterFailure(int unattendedWait) const;

private:
    TStowlineProperties &fProperties;
    TDispId fModalResultId;
    bool fAutoStarted = false;
    bool fSucceeded = false;
    bool fFailed = false;
};

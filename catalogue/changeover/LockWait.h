#pragma once
// The bound on waiting for another program's row locks in every step of a run.
#include "database/DbTransactionOptions.h"

// How long the update waits for a row that another program holds locked before it
// gives up; the window does not answer while it waits.
constexpr int kChangeoverLockWaitSeconds = 15;
// A transaction that waits for locks that long.
TDbTransactionOptions boundedLockWait();

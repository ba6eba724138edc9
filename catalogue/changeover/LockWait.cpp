#include "catalogue/changeover/LockWait.h"

TDbTransactionOptions boundedLockWait()
{
    // No step may leave the window frozen behind another program's lock.
    TDbTransactionOptions options;
    options.lockTimeoutSeconds = kChangeoverLockWaitSeconds;
    return options;
}

// The Win32 registry is the machine's own: nothing to set up; the suite keeps
// below keys of its own and deletes them afterwards.
#include "StoreSandbox.h"

std::unique_ptr<StoreSandbox> openStoreSandbox()
{
    return std::make_unique<StoreSandbox>();
}

#include "database/FbCall.h"

#include "database/FbLibrary.h"

namespace Fb {

Firebird::IMaster *master()
{
    // A failed load throws and leaves the local unset, so the next call tries again.
    static Firebird::IMaster *const loaded = loadMaster();
    return loaded;
}

QString statusText(Firebird::IStatus *status)
{
    char buffer[4096];
    const unsigned length = master()->getUtilInterface()->formatStatus(buffer, sizeof buffer, status);
    return QString::fromUtf8(buffer, static_cast<int>(qMin<unsigned>(length, sizeof buffer))).trimmed();
}

} // namespace Fb

#include "database/FbCall.h"

namespace Fb {

Firebird::IMaster *master()
{
    return Firebird::fb_get_master_interface();
}

QString statusText(Firebird::IStatus *status)
{
    char buffer[4096];
    const unsigned length = master()->getUtilInterface()->formatStatus(buffer, sizeof buffer, status);
    return QString::fromUtf8(buffer, static_cast<int>(qMin<unsigned>(length, sizeof buffer))).trimmed();
}

} // namespace Fb

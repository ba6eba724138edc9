#include "catalogue/data/SiteID.h"

#include "database/FirstRowInteger.h"
#include "database/StatementText.h"

namespace {

constexpr quint32 kSiteMask = 0x3A91E27D;

} // namespace

qint32 readSiteID(TDbStatement &q1)
{
    useStatementText(q1, QStringLiteral("select * from TBL_SETUP"));
    return qint32(quint32(firstRowInteger(q1, QStringLiteral("STX"))) ^ kSiteMask);
}

#include "catalogue/data/VatCodes.h"

#include "catalogue/data/NeededColumns.h"
#include "catalogue/data/SiteID.h"
#include "database/DbConnection.h"
#include "database/DbStatement.h"
#include "database/FirstRowInteger.h"
#include "database/StatementText.h"
#include "util/Errors.h"

#include <optional>

namespace {

const QString kChangeoverDate = QStringLiteral("2023-09-01");

void createNewCode(TDbConnection &conx, TDbStatement &q1)
{
    useStatementText(q1, QStringLiteral("select next value for GEN_VAT from rdb$database"));
    q1.open();
    const qint32 id = q1.field(0).asInteger();
    q1.close();

    useStatementText(
        q1,
        QStringLiteral(
            "insert into TBL_VAT_CODES (VAT_ID, DESCRIPTION, RATE, VALID_FROM, VALID_TO, IS_ACTIVE, VAT_TYPE)\r\n"
            " values (:ID, :DSC, :R, :D1, :D2, 'Y', 3)"));
    q1.setInt(0, id);
    q1.setText(1, QStringLiteral("13.50 RDC"));
    q1.setDouble(2, 13.5);
    q1.setText(3, kChangeoverDate);
    q1.setText(4, QStringLiteral("2999-12-31"));
    q1.execute();
    q1.close();
    conx.commitRetaining();
}

// A site may still hold the reduced code of earlier years, expired but left active;
// moving products onto it would give them a code no longer in force, so a code that
// is valid at the changeover comes first.
qint32 newCodeInForce(TDbStatement &q1)
{
    useStatementText(q1,
                     QStringLiteral("select VAT_ID from TBL_VAT_CODES where VAT_TYPE = 3"
                                    " and :D1 between VALID_FROM and VALID_TO order by IS_ACTIVE desc"));
    q1.setText(0, kChangeoverDate);
    return firstRowInteger(q1, QStringLiteral("VAT_ID"));
}

// The old 9 % codes, when the database has any. An id of 0 is a real code.
QList<qint32> oldCodes(TDbStatement &q1)
{
    useStatementText(q1,
                     QStringLiteral("select VAT_ID, IS_ACTIVE from TBL_VAT_CODES where VAT_TYPE = 5\r\n"
                                    "order by IS_ACTIVE desc, VAT_ID"));
    QList<qint32> active;
    std::optional<qint32> first;
    for (q1.open(); !q1.eof(); q1.next()) {
        const qint32 id = q1.field(0).asInteger();
        if (!first)
            first = id;
        if (q1.field(1).asText() == QLatin1String("Y"))
            active.append(id);
    }
    q1.close();
    if (active.isEmpty() && first)
        active.append(*first);
    return active;
}

} // namespace

const QString kNoOldCodeText = QStringLiteral("The database has no 9% VAT code (no VAT code of type 5), "
                                              "so there is nothing to change.");

TVatResolution resolveVatCodes(TDbConnection &conx, TDbStatement &q1)
{
    TVatResolution result;
    const bool thirdLevel = checkNeededColumns(q1);
    result.siteID = readSiteID(q1);

    result.oldVIDs = oldCodes(q1);
    if (!result.hasOldCode())
        return result;

    result.v62Plus = thirdLevel;

    result.newVID = newCodeInForce(q1);
    if (result.newVID <= 0) {
        createNewCode(conx, q1);
        result.newVID = newCodeInForce(q1);
    }
    if (result.newVID <= 0) {
        useStatementText(q1,
                         QStringLiteral("select VAT_ID from TBL_VAT_CODES where VAT_TYPE = 3 order by IS_ACTIVE desc"));
        result.newVID = firstRowInteger(q1, QStringLiteral("VAT_ID"));
    }
    return result;
}

#include "tests/catalogue/differential/oracle/RowByRowCollector.h"

#include "catalogue/core/RateText.h"
#include "database/DbStatement.h"
#include "database/StatementText.h"

namespace {

const QString kDepartments =
    QStringLiteral("select * from TBL_DEPARTMENTS where IS_ACTIVE = 'Y' and REPORT_GROUP <> 1");
const QString kDepartmentProbe = QStringLiteral("select count(*) from TBL_PRODUCTS\r\n where VAT_ID = :VID and DEPT_ID "
                                                "= :DID and ((SUB_DEPT is null) or (SUB_DEPT <=0))");

const QString kSubDepartments =
    QStringLiteral("select l2.DESCRIPTION as D2, l2.SUB_DEPT as DID2,\r\n"
                   "   l1.DESCRIPTION as D1, l1.DEPT_ID as DID1, l2.SALES_VID as VID2, l1.VAT_ID as VID1\r\n"
                   "    from TBL_SUB_DEPARTMENTS l2\r\n"
                   "  join TBL_DEPARTMENTS l1 on l1.DEPT_ID = l2.DEPT_ID and l1.REPORT_GROUP <> 1\r\n"
                   " where l2.IS_ACTIVE = 'Y'");
const QString kSubDepartmentProbe = QStringLiteral("select count(*) from TBL_PRODUCTS\r\n where VAT_ID = :VID and "
                                                   "SUB_DEPT = :L2ID and ((L3DID is null) or (L3DID <=0))");

const QString kThirdLevel = QStringLiteral(
    "select l3.DESCRIPTION as D3, l3.L3DID as DID3, l1.VAT_ID as VID1, l2.SALES_VID as VID2, l3.SALES_VID as VID3,\r\n"
    "   l2.DESCRIPTION as D2, l2.SUB_DEPT as DID2,\r\n"
    "   l1.DESCRIPTION as D1, l1.DEPT_ID as DID1 from TBL_L3DEPARTMENTS l3\r\n"
    "  join TBL_SUB_DEPARTMENTS l2 on l2.SUB_DEPT = l3.L2DID\r\n"
    "  join TBL_DEPARTMENTS l1 on l1.DEPT_ID = l2.DEPT_ID and l1.REPORT_GROUP <> 1\r\n"
    " where l3.IS_ACTIVE = 'Y'");
const QString kThirdLevelProbe =
    QStringLiteral("select count(*) from TBL_PRODUCTS\r\n where VAT_ID = :VID and L3DID = :DID");

const QString kRateLookup = QStringLiteral("select RATE from TBL_VAT_CODES where VAT_ID = :VAT_ID");

} // namespace

TRowByRowCollector::TRowByRowCollector(TDbConnection &conx, TDbStatement &q1, TDbStatement &q2)
    : q1(q1), q2(q2), fProbe(std::make_unique<TDbStatement>(conx))
{
}

TRowByRowCollector::~TRowByRowCollector() = default;

QList<TEntryLine> TRowByRowCollector::collect(const QList<qint32> &oldVIDs, bool v62Plus)
{
    fOldVIDs = oldVIDs;
    fLines.clear();
    collectDepartments();
    if (v62Plus) {
        collectSubDepartments();
        collectThirdLevel();
    }
    return std::move(fLines);
}

void TRowByRowCollector::collectDepartments()
{
    useStatementText(q1, kDepartments);
    for (q1.open(); !q1.eof(); q1.next()) {
        const qint32 id = q1.field(QStringLiteral("DEPT_ID")).asInteger();
        const qint32 vid = q1.field(QStringLiteral("VAT_ID")).asInteger();
        if (qualifies(vid, kDepartmentProbe, id))
            add(1, q1.field(QStringLiteral("DESCRIPTION")).asText(), vid, 0, id, true);
    }
    q1.close();
}

void TRowByRowCollector::collectSubDepartments()
{
    useStatementText(q1, kSubDepartments);
    for (q1.open(); !q1.eof(); q1.next()) {
        const qint32 id1 = q1.field(QStringLiteral("DID1")).asInteger();
        const qint32 id2 = q1.field(QStringLiteral("DID2")).asInteger();
        const qint32 vid2 = q1.field(QStringLiteral("VID2")).asInteger();
        if (!qualifies(vid2, kSubDepartmentProbe, id2))
            continue;
        add(1, q1.field(QStringLiteral("D1")).asText(), q1.field(QStringLiteral("VID1")).asInteger(), 0, id1, false);
        add(2, q1.field(QStringLiteral("D2")).asText(), vid2, id1, id2, true);
    }
    q1.close();
}

void TRowByRowCollector::collectThirdLevel()
{
    useStatementText(q1, kThirdLevel);
    for (q1.open(); !q1.eof(); q1.next()) {
        const qint32 id1 = q1.field(QStringLiteral("DID1")).asInteger();
        const qint32 id2 = q1.field(QStringLiteral("DID2")).asInteger();
        const qint32 id3 = q1.field(QStringLiteral("DID3")).asInteger();
        const qint32 vid3 = q1.field(QStringLiteral("VID3")).asInteger();
        if (!qualifies(vid3, kThirdLevelProbe, id3))
            continue;
        add(1, q1.field(QStringLiteral("D1")).asText(), q1.field(QStringLiteral("VID1")).asInteger(), 0, id1, false);
        add(2, q1.field(QStringLiteral("D2")).asText(), q1.field(QStringLiteral("VID2")).asInteger(), id1, id2, false);
        add(3, q1.field(QStringLiteral("D3")).asText(), vid3, id2, id3, true);
    }
    q1.close();
}

// A null code reads as 0, so with an old code 0 a department without a code qualifies
// by itself.
bool TRowByRowCollector::qualifies(qint32 ownVID, const QString &probeSql, qint32 id)
{
    if (fOldVIDs.contains(ownVID))
        return true;
    useStatementText(*fProbe, probeSql);
    for (qint32 oldVID : fOldVIDs) {
        fProbe->setInt(0, oldVID);
        fProbe->setInt(1, id);
        fProbe->open();
        const qint64 count = fProbe->eof() ? 0 : fProbe->field(0).asInt64();
        fProbe->close();
        if (count > 0)
            return true;
    }
    return false;
}

void TRowByRowCollector::add(int level, const QString &description, qint32 vatId, qint32 parentId, qint32 ownId,
                             bool qualified)
{
    fLines.append(makeEntryLine(level, description, rateText(rateOf(vatId)), parentId, ownId, qualified));
}

// The code's rate in the user's number form; empty for a missing code or a null rate.
QString TRowByRowCollector::rateOf(qint32 vatId)
{
    useStatementText(q2, kRateLookup);
    q2.setInt(0, vatId);
    q2.open();
    QString text;
    if (!q2.eof()) {
        const TDbField field = q2.field(0);
        text = field.isNumber() ? localeNumberText(field.asText()) : field.asText();
    }
    q2.close();
    return text;
}

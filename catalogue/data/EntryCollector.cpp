#include "catalogue/data/EntryCollector.h"

#include "catalogue/core/DepartmentPlan.h"
#include "catalogue/core/ProductFiling.h"
#include "catalogue/core/RateText.h"
#include "database/DbField.h"
#include "database/DbStatement.h"
#include "database/StatementText.h"
#include "log/uLog.h"

namespace {

const QString kDepartments =
    QStringLiteral("select * from TBL_DEPARTMENTS where IS_ACTIVE = 'Y' and REPORT_GROUP <> 1");

const QString kSubDepartments =
    QStringLiteral("select l2.DESCRIPTION as D2, l2.SUB_DEPT as DID2,\r\n"
                   "   l1.DESCRIPTION as D1, l1.DEPT_ID as DID1, l2.SALES_VID as VID2, l1.VAT_ID as VID1\r\n"
                   "    from TBL_SUB_DEPARTMENTS l2\r\n"
                   "  join TBL_DEPARTMENTS l1 on l1.DEPT_ID = l2.DEPT_ID and l1.REPORT_GROUP <> 1\r\n"
                   " where l2.IS_ACTIVE = 'Y'");

const QString kThirdLevel = QStringLiteral(
    "select l3.DESCRIPTION as D3, l3.L3DID as DID3, l1.VAT_ID as VID1, l2.SALES_VID as VID2, l3.SALES_VID as VID3,\r\n"
    "   l2.DESCRIPTION as D2, l2.SUB_DEPT as DID2,\r\n"
    "   l1.DESCRIPTION as D1, l1.DEPT_ID as DID1 from TBL_L3DEPARTMENTS l3\r\n"
    "  join TBL_SUB_DEPARTMENTS l2 on l2.SUB_DEPT = l3.L2DID\r\n"
    "  join TBL_DEPARTMENTS l1 on l1.DEPT_ID = l2.DEPT_ID and l1.REPORT_GROUP <> 1\r\n"
    " where l3.IS_ACTIVE = 'Y'");

} // namespace

TEntryCollector::TEntryCollector(TDbStatement &q1, const TOwnLevelHolders &holders,
                                 const QHash<qint32, QString> &rateTexts)
    : q1(q1), fHolders(holders), fRateTexts(rateTexts), fNoRate(rateText(QString()))
{
}

QList<TEntryLine> TEntryCollector::collect(const QList<qint32> &oldVIDs, bool v62Plus)
{
    fOldVIDs = oldVIDs;
    fLines.clear();
    fDescriptions.clear();
    fNameless.clear();
    collectDepartments();
    if (v62Plus) {
        collectSubDepartments();
        DebugLog(entryLinesText(fLines), 0);
        collectThirdLevel();
    }
    return std::move(fLines);
}

void TEntryCollector::collectDepartments()
{
    useStatementText(q1, kDepartments);
    for (q1.open(); !q1.eof(); q1.next()) {
        const qint32 id = q1.field(QStringLiteral("DEPT_ID")).asInteger();
        const qint32 vid = q1.field(QStringLiteral("VAT_ID")).asInteger();
        if (qualifies(vid, 1, id))
            add(1, q1.field(QStringLiteral("DESCRIPTION")), vid, 0, id, true);
    }
    q1.close();
}

void TEntryCollector::collectSubDepartments()
{
    useStatementText(q1, kSubDepartments);
    for (q1.open(); !q1.eof(); q1.next()) {
        const qint32 id1 = q1.field(QStringLiteral("DID1")).asInteger();
        const qint32 id2 = q1.field(QStringLiteral("DID2")).asInteger();
        const qint32 vid2 = q1.field(QStringLiteral("VID2")).asInteger();
        if (!qualifies(vid2, 2, id2))
            continue;
        add(1, q1.field(QStringLiteral("D1")), q1.field(QStringLiteral("VID1")).asInteger(), 0, id1, false);
        add(2, q1.field(QStringLiteral("D2")), vid2, id1, id2, true);
    }
    q1.close();
}

void TEntryCollector::collectThirdLevel()
{
    useStatementText(q1, kThirdLevel);
    for (q1.open(); !q1.eof(); q1.next()) {
        const qint32 id1 = q1.field(QStringLiteral("DID1")).asInteger();
        const qint32 id2 = q1.field(QStringLiteral("DID2")).asInteger();
        const qint32 id3 = q1.field(QStringLiteral("DID3")).asInteger();
        const qint32 vid3 = q1.field(QStringLiteral("VID3")).asInteger();
        if (!qualifies(vid3, 3, id3))
            continue;
        add(1, q1.field(QStringLiteral("D1")), q1.field(QStringLiteral("VID1")).asInteger(), 0, id1, false);
        add(2, q1.field(QStringLiteral("D2")), q1.field(QStringLiteral("VID2")).asInteger(), id1, id2, false);
        add(3, q1.field(QStringLiteral("D3")), vid3, id2, id3, true);
    }
    q1.close();
}

bool TEntryCollector::qualifies(qint32 ownVID, int level, qint32 id) const
{
    return fOldVIDs.contains(ownVID) || fHolders.holds(level, id);
}

void TEntryCollector::add(int level, const TDbField &description, qint32 vatId, qint32 parentId, qint32 ownId,
                          bool qualified)
{
    const QString text = description.asText();
    const quint64 key = departmentNodeKey(level, ownId);
    fLines.append(makeEntryLine(level, text, fRateTexts.value(vatId, fNoRate), parentId, ownId, qualified));
    fDescriptions.insert(key, text);
    if (description.isNull())
        fNameless.insert(key);
}

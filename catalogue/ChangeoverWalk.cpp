#include "ChangeoverWalk.h"

#include "SectionNames.h"
#include "SelectionStore.h"
#include "uUtils.h"

#include <limits>

namespace {

// A department row already selling at the new code is left as it is, purchase code
// included.
const QString kDepartmentSql = QStringLiteral(
    "update TBL_DEPARTMENTS set VAT_ID = :VID1, PURCH_VAT = :VID2\r\n where DEPT_ID = :DID and VAT_ID <> :VID3");
const QString kSubDepartmentSql = QStringLiteral(
    "update TBL_SUB_DEPARTMENTS set SALES_VID = :VID1, PURCH_VID = :VID2\r\n"
    " where SUB_DEPT = :DID and SALES_VID <> :VID3");
const QString kThirdLevelSql = QStringLiteral(
    "update TBL_L3DEPARTMENTS set SALES_VID = :VID1, PURCH_VID = :VID2\r\n where L3DID = :DID and SALES_VID <> :VID3");
const QString kProductSql = QStringLiteral("update TBL_PRODUCTS set VAT_ID = :VID where SID = :SID");

const QString kNo = QStringLiteral("N");

} // namespace

bool changeoverProductSid(const QString &key, qint32 &sid)
{
    bool isNumber = false;
    const qint64 value = GetField(0, key, QStringLiteral("_")).toLongLong(&isNumber);
    if (!isNumber || value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        return false;
    sid = qint32(value);
    return true;
}

TChangeoverWalk::TChangeoverWalk(TDbConnection &conx, qint32 newVID)
    : fNewVID(newVID), fDepartments(conx), fSubDepartments(conx), fThirdLevels(conx), fProducts(conx)
{
    fDepartments.setSQL(kDepartmentSql);
    fSubDepartments.setSQL(kSubDepartmentSql);
    fThirdLevels.setSQL(kThirdLevelSql);
    fProducts.setSQL(kProductSql);
    // The new code never changes during a run: set once, it stays for every execution.
    for (TDbStatement *statement : {&fDepartments, &fSubDepartments, &fThirdLevels}) {
        statement->setInt(0, fNewVID); // VID1
        statement->setInt(1, fNewVID); // VID2
        statement->setInt(3, fNewVID); // VID3
    }
    fProducts.setInt(0, fNewVID);
}

void TChangeoverWalk::run(const QList<TChangeoverNode> &nodes, const TSelectionStore &store)
{
    for (const TChangeoverNode &node : nodes) {
        if (node.ticked)
            updateDepartment(node);
        const QString section = sectionName(node.depth + 1, node.id);
        for (const QString &key : store.keys(section)) {
            if (!YNToBool(store.read(section, key, kNo)))
                continue;
            qint32 sid = 0;
            if (changeoverProductSid(key, sid))
                updateProduct(sid);
        }
    }
}

TDbStatement &TChangeoverWalk::departmentStatement(int depth)
{
    switch (depth) {
    case 1:
        return fSubDepartments;
    case 2:
        return fThirdLevels;
    default:
        return fDepartments;
    }
}

void TChangeoverWalk::updateDepartment(const TChangeoverNode &node)
{
    TDbStatement &statement = departmentStatement(node.depth);
    statement.setInt(2, node.id); // DID
    statement.execute();
}

void TChangeoverWalk::updateProduct(qint32 sid)
{
    if (fProductsDone.contains(sid))
        return;
    fProductsDone.insert(sid);
    fProducts.setInt(1, sid); // SID
    fProducts.execute();
}

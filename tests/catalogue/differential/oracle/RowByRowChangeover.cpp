#include "tests/catalogue/differential/oracle/RowByRowChangeover.h"

#include "catalogue/changeover/ChangeoverPlan.h"
#include "catalogue/changeover/LockWait.h"
#include "catalogue/core/SectionNames.h"
#include "catalogue/core/SelectionStore.h"
#include "database/DbConnection.h"
#include "database/DbStatement.h"
#include "util/uUtils.h"

#include <QSet>

namespace {

// A department row already selling at the new code is left as it is, purchase code
// included; one without a sales code moves.
const QString kDepartmentSql = QStringLiteral("update TBL_DEPARTMENTS set VAT_ID = :VID1, PURCH_VAT = :VID2\r\n where "
                                              "DEPT_ID = :DID and VAT_ID is distinct from :VID3");
const QString kSubDepartmentSql =
    QStringLiteral("update TBL_SUB_DEPARTMENTS set SALES_VID = :VID1, PURCH_VID = :VID2\r\n"
                   " where SUB_DEPT = :DID and SALES_VID is distinct from :VID3");
const QString kThirdLevelSql = QStringLiteral("update TBL_L3DEPARTMENTS set SALES_VID = :VID1, PURCH_VID = :VID2\r\n "
                                              "where L3DID = :DID and SALES_VID is distinct from :VID3");
const QString kProductSql = QStringLiteral("update TBL_PRODUCTS set VAT_ID = :VID where SID = :SID");

// Statements prepared on first use, so that a site without the third level never
// prepares the statement of a table it lacks.
class TRowByRowWalk
{
public:
    TRowByRowWalk(TDbConnection &conx, qint32 newVID)
        : fNewVID(newVID), fDepartments(conx), fSubDepartments(conx), fThirdLevels(conx), fProducts(conx)
    {
        fDepartments.setSQL(kDepartmentSql);
        fSubDepartments.setSQL(kSubDepartmentSql);
        fThirdLevels.setSQL(kThirdLevelSql);
        fProducts.setSQL(kProductSql);
        for (TDbStatement *statement : {&fDepartments, &fSubDepartments, &fThirdLevels}) {
            statement->setInt(0, fNewVID); // VID1
            statement->setInt(1, fNewVID); // VID2
            statement->setInt(3, fNewVID); // VID3
        }
        fProducts.setInt(0, fNewVID);
    }

    // A product ticked in several sections is rewritten once.
    void run(const QList<TChangeoverNode> &nodes, const TSelectionStore &store)
    {
        const QString no = QStringLiteral("N");
        for (const TChangeoverNode &node : nodes) {
            if (node.ticked)
                updateDepartment(node);
            const QString section = sectionName(node.depth + 1, node.id);
            for (const QString &key : store.keys(section)) {
                if (!YNToBool(store.read(section, key, no)))
                    continue;
                if (const std::optional<qint32> sid = productSidOfKey(key))
                    updateProduct(*sid);
            }
        }
    }

private:
    void updateDepartment(const TChangeoverNode &node)
    {
        TDbStatement &statement = node.depth == 1 ? fSubDepartments : node.depth == 2 ? fThirdLevels : fDepartments;
        statement.setInt(2, node.id); // DID
        statement.execute();
    }

    void updateProduct(qint32 sid)
    {
        if (fProductsDone.contains(sid))
            return;
        fProductsDone.insert(sid);
        fProducts.setInt(1, sid); // SID
        fProducts.execute();
    }

    qint32 fNewVID;
    TDbStatement fDepartments;
    TDbStatement fSubDepartments;
    TDbStatement fThirdLevels;
    TDbStatement fProducts;
    QSet<qint32> fProductsDone;
};

TDbTransactionOptions boundedWait()
{
    TDbTransactionOptions options;
    options.lockTimeoutSeconds = kChangeoverLockWaitSeconds;
    return options;
}

void switchDepartmentTrigger(TDbConnection &conx, bool active)
{
    conx.startTransaction(boundedWait());
    conx.executeImmediate(active ? QStringLiteral("alter trigger TAU_DEPT active")
                                 : QStringLiteral("alter trigger TAU_DEPT inactive"));
    conx.commit();
}

} // namespace

void applyRowByRowChangeover(TDbConnection &conx, const QList<TChangeoverNode> &nodes, const TSelectionStore &store,
                             qint32 newVID)
{
    if (conx.inTransaction())
        conx.commit();
    switchDepartmentTrigger(conx, false);
    conx.startTransaction(boundedWait());
    TRowByRowWalk(conx, newVID).run(nodes, store);
    conx.commit();
    switchDepartmentTrigger(conx, true);
}

#include "tests/catalogue/differential/oracle/RowByRowChangeover.h"

#include "catalogue/changeover/ChangeoverPlan.h"
#include "catalogue/changeover/LockWait.h"
#include "catalogue/core/Selection.h"
#include "database/DbConnection.h"
#include "database/DbStatement.h"

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

    // A product listed under several nodes is rewritten once.
    void run(const TSelection &selection)
    {
        for (int node = 0; node < selection.nodeCount(); ++node) {
            if (selection.isMarked(node))
                updateDepartment(selection.level(node), selection.id(node));
            for (int product : selection.productsOf(node))
                if (selection.isTicked(product))
                    updateProduct(selection.product(product).sid);
        }
    }

private:
    void updateDepartment(int level, qint32 id)
    {
        TDbStatement &statement = level == 2 ? fSubDepartments : level == 3 ? fThirdLevels : fDepartments;
        statement.setInt(2, id); // DID
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

void applyRowByRowChangeover(TDbConnection &conx, const TSelection &selection, qint32 newVID)
{
    if (conx.inTransaction())
        conx.commit();
    switchDepartmentTrigger(conx, false);
    conx.startTransaction(boundedWait());
    TRowByRowWalk(conx, newVID).run(selection);
    conx.commit();
    switchDepartmentTrigger(conx, true);
}

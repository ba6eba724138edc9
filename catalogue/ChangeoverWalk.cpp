#include "ChangeoverWalk.h"

#include "DbStatement.h"

#include <QStringList>

namespace {

// The id list of a chunk: one marker per id.
QString idMarkers()
{
    QStringList markers;
    for (int i = 0; i < kChangeoverChunk; ++i)
        markers.append(QStringLiteral("?"));
    return markers.join(QStringLiteral(", "));
}

// Sales code first, then purchase code, for the ids of a chunk, unless the row already
// sells at the new code.
QString departmentSql(const char *table, const char *idColumn, const char *salesColumn, const char *purchaseColumn)
{
    return QStringLiteral("update %1 set %3 = :VID1, %4 = :VID2\r\n where %2 in (%5) and %3 <> :VID3")
        .arg(QLatin1String(table), QLatin1String(idColumn), QLatin1String(salesColumn),
             QLatin1String(purchaseColumn), idMarkers());
}

// A statement whose named parameters all take the new code and whose plain markers take
// a chunk of ids. The last chunk is filled up with its own first id: a row named twice
// is changed once, and the one prepared form serves every chunk.
class TChunkedUpdate
{
public:
    TChunkedUpdate(TDbConnection &conx, const QString &sql, qint32 newVID) : fStatement(conx)
    {
        fStatement.setSQL(sql);
        for (int i = 0; i < fStatement.paramCount(); ++i) {
            if (fStatement.paramName(i).isEmpty())
                fIdSlots.append(i);
            else
                fStatement.setInt(i, newVID);
        }
    }

    void run(const QList<qint32> &ids)
    {
        for (qsizetype start = 0; start < ids.size(); start += fIdSlots.size()) {
            for (qsizetype i = 0; i < fIdSlots.size(); ++i)
                fStatement.setInt(fIdSlots[i], ids[start + i < ids.size() ? start + i : start]);
            fStatement.execute();
        }
    }

private:
    TDbStatement fStatement;
    QList<int> fIdSlots;
};

} // namespace

void runChangeoverPlan(TDbConnection &conx, const TChangeoverPlan &plan, qint32 newVID)
{
    const QString departmentStatements[] = {
        departmentSql("TBL_DEPARTMENTS", "DEPT_ID", "VAT_ID", "PURCH_VAT"),
        departmentSql("TBL_SUB_DEPARTMENTS", "SUB_DEPT", "SALES_VID", "PURCH_VID"),
        departmentSql("TBL_L3DEPARTMENTS", "L3DID", "SALES_VID", "PURCH_VID"),
    };
    for (int table = 0; table < 3; ++table)
        if (!plan.departments[table].isEmpty())
            TChunkedUpdate(conx, departmentStatements[table], newVID).run(plan.departments[table]);
    if (!plan.products.isEmpty())
        TChunkedUpdate(conx, QStringLiteral("update TBL_PRODUCTS set VAT_ID = :VID where SID in (%1)").arg(idMarkers()),
                       newVID)
            .run(plan.products);
}

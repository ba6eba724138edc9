#include "catalogue/changeover/ChangeoverWalk.h"

#include "database/DbStatement.h"

#include <QStringList>

namespace {

// A block that runs one row's update for each id of a comma-separated list. The server
// takes a list of ids in a statement as a chain of comparisons that every candidate row
// walks, so a long "in (...)" costs time with the square of its length; the block finds
// each row by its key instead.
QString chunkBlock(const QString &rowUpdate)
{
    return QStringLiteral("execute block (VID integer = :VID, IDS varchar(%1) character set ascii = :IDS)\r\n"
                          "as\r\n"
                          "  declare P integer = 1;\r\n"
                          "  declare Q integer;\r\n"
                          "begin\r\n"
                          "  while (P <= char_length(IDS)) do\r\n"
                          "  begin\r\n"
                          "    Q = position(',', IDS, P);\r\n"
                          "    if (Q = 0) then Q = char_length(IDS) + 1;\r\n"
                          "    %2\r\n"
                          "    P = Q + 1;\r\n"
                          "  end\r\n"
                          "end")
        .arg(12 * kChangeoverChunk)
        .arg(rowUpdate);
}

const QString kId = QStringLiteral("cast(substring(:IDS from :P for :Q - :P) as integer)");

// Sales code first, then purchase code, unless the row already sells at the new code. A
// row without a sales code moves too: "<>" would never hold for it.
QString departmentBlock(const char *table, const char *idColumn, const char *salesColumn, const char *purchaseColumn)
{
    return chunkBlock(QStringLiteral("update %1 set %3 = :VID, %4 = :VID where %2 = %5 and %3 is distinct from :VID;")
                          .arg(QLatin1String(table), QLatin1String(idColumn), QLatin1String(salesColumn),
                               QLatin1String(purchaseColumn), kId));
}

void runInChunks(TDbConnection &conx, const QString &block, qint32 newVID, const QList<qint32> &ids)
{
    if (ids.isEmpty())
        return;
    TDbStatement statement(conx);
    statement.setSQL(block);
    statement.setInt(0, newVID);
    for (qsizetype start = 0; start < ids.size(); start += kChangeoverChunk) {
        QStringList chunk;
        for (qsizetype i = start; i < qMin(ids.size(), start + kChangeoverChunk); ++i)
            chunk.append(QString::number(ids[i]));
        statement.setText(1, chunk.join(QLatin1Char(',')));
        statement.execute();
    }
}

} // namespace

void runChangeoverPlan(TDbConnection &conx, const TChangeoverPlan &plan, qint32 newVID)
{
    runInChunks(conx, departmentBlock("TBL_DEPARTMENTS", "DEPT_ID", "VAT_ID", "PURCH_VAT"), newVID,
                plan.departments[0]);
    runInChunks(conx, departmentBlock("TBL_SUB_DEPARTMENTS", "SUB_DEPT", "SALES_VID", "PURCH_VID"), newVID,
                plan.departments[1]);
    runInChunks(conx, departmentBlock("TBL_L3DEPARTMENTS", "L3DID", "SALES_VID", "PURCH_VID"), newVID,
                plan.departments[2]);
    runInChunks(conx, chunkBlock(QStringLiteral("update TBL_PRODUCTS set VAT_ID = :VID where SID = %1;").arg(kId)),
                newVID, plan.products);
}

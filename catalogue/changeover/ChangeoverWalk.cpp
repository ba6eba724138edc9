#include "catalogue/changeover/ChangeoverWalk.h"

#include "catalogue/changeover/IdChunks.h"
#include "catalogue/changeover/TableColumns.h"
#include "database/DbStatement.h"

namespace {

const QString kNewCode = QStringLiteral("VID integer = :VID");

// Sales code first, then purchase code, unless the row already sells at the new code;
// a row without a sales code moves too ("<>" would never hold for it).
QString departmentBlock(const TTableColumns &t)
{
    const QString returns = QStringLiteral("DESCRIPTION %1, OLD_SALES %2, OLD_PURCHASE %3")
                                .arg(columnType(t, "DESCRIPTION"), columnType(t, t.sales), columnType(t, t.purchase));
    const QString work =
        QStringLiteral("for select DESCRIPTION, %3, %4 from %1 where %2 = :ID and %3 is distinct from :VID\r\n"
                       "      into :DESCRIPTION, :OLD_SALES, :OLD_PURCHASE as cursor C do\r\n"
                       "    begin\r\n"
                       "      update %1 set %3 = :VID, %4 = :VID where current of C;\r\n"
                       "      suspend;\r\n"
                       "    end")
            .arg(QLatin1String(t.name), QLatin1String(t.id), QLatin1String(t.sales), QLatin1String(t.purchase));
    return idChunkBlock(kNewCode, returns, work);
}

// Every ticked product is written; only one whose code was another is handed back.
QString productBlock(const TTableColumns &t)
{
    const QString returns =
        QStringLiteral("DESCRIPTION %1, OLD_SALES %2").arg(columnType(t, "DESCRIPTION"), columnType(t, t.sales));
    const QString work = QStringLiteral("for select DESCRIPTION, %3 from %1 where %2 = :ID\r\n"
                                        "      into :DESCRIPTION, :OLD_SALES as cursor C do\r\n"
                                        "    begin\r\n"
                                        "      update %1 set %3 = :VID where current of C;\r\n"
                                        "      if (OLD_SALES is distinct from VID) then suspend;\r\n"
                                        "    end")
                             .arg(QLatin1String(t.name), QLatin1String(t.id), QLatin1String(t.sales));
    return idChunkBlock(kNewCode, returns, work);
}

std::optional<qint32> optionalCode(const TDbField &field)
{
    return field.isNull() ? std::nullopt : std::optional<qint32>(field.asInteger());
}

void runInChunks(TDbConnection &conx, const TTableColumns &t, qint32 newVID, const QList<qint32> &ids,
                 QList<TChangedRow> &changed)
{
    if (ids.isEmpty())
        return;
    const bool department = t.purchase != nullptr;
    TDbStatement block(conx);
    block.setSQL(department ? departmentBlock(t) : productBlock(t));
    block.setInt(0, newVID);
    runIdChunks(block, 1, ids, [&](const TDbStatement &row) {
        TChangedRow changedRow;
        changedRow.table = t.table;
        changedRow.id = row.field(0).asInteger();
        changedRow.description = row.field(1).asText();
        changedRow.oldSales = optionalCode(row.field(2));
        changedRow.newSales = newVID;
        if (department) {
            changedRow.oldPurchase = optionalCode(row.field(3));
            changedRow.newPurchase = newVID;
        }
        changed.append(changedRow);
    });
}

} // namespace

QList<TChangedRow> runChangeoverPlan(TDbConnection &conx, const TChangeoverPlan &plan, qint32 newVID)
{
    QList<TChangedRow> changed;
    runInChunks(conx, tableColumns(TChangedTable::Department), newVID, plan.departments[0], changed);
    runInChunks(conx, tableColumns(TChangedTable::SubDepartment), newVID, plan.departments[1], changed);
    runInChunks(conx, tableColumns(TChangedTable::ThirdLevel), newVID, plan.departments[2], changed);
    runInChunks(conx, tableColumns(TChangedTable::Product), newVID, plan.products, changed);
    return changed;
}

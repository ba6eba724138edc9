#include "catalogue/changeover/RevertWalk.h"

#include "catalogue/changeover/IdChunks.h"
#include "database/DbStatement.h"

#include <QSet>

namespace {

// Recorded rows of one table that move between the same codes: one block for them all.
struct TRevertGroup
{
    TChangedRow codes; // table and codes; id and description unused
    QList<qint32> ids;
};

bool sameMove(const TChangedRow &a, const TChangedRow &b)
{
    return a.table == b.table && a.oldSales == b.oldSales && a.oldPurchase == b.oldPurchase && a.newSales == b.newSales
        && a.newPurchase == b.newPurchase;
}

QList<TRevertGroup> groupByMove(const QList<TChangedRow> &recorded)
{
    QList<TRevertGroup> groups;
    for (const TChangedRow &row : recorded) {
        auto group =
            std::find_if(groups.begin(), groups.end(), [&](const TRevertGroup &g) { return sameMove(g.codes, row); });
        if (group == groups.end())
            groups.append({row, {row.id}});
        else
            group->ids.append(row.id);
    }
    return groups;
}

// Codes set back only where the row still holds exactly what the record wrote.
QString revertBlock(const TTableColumns &t)
{
    const bool department = t.purchase != nullptr;
    const QString inputs = department ? QStringLiteral("OLD_S integer = :OLD_S, OLD_P integer = :OLD_P, "
                                                       "NEW_S integer = :NEW_S, NEW_P integer = :NEW_P")
                                      : QStringLiteral("OLD_S integer = :OLD_S, NEW_S integer = :NEW_S");
    const QString held = department
        ? QStringLiteral("%1 is not distinct from :NEW_S and %2 is not distinct from :NEW_P")
              .arg(QLatin1String(t.sales), QLatin1String(t.purchase))
        : QStringLiteral("%1 is not distinct from :NEW_S").arg(QLatin1String(t.sales));
    const QString set = department
        ? QStringLiteral("%1 = :OLD_S, %2 = :OLD_P").arg(QLatin1String(t.sales), QLatin1String(t.purchase))
        : QStringLiteral("%1 = :OLD_S").arg(QLatin1String(t.sales));
    const QString work = QStringLiteral("for select DESCRIPTION from %1 where %2 = :ID and %3\r\n"
                                        "      into :DESCRIPTION as cursor C do\r\n"
                                        "    begin\r\n"
                                        "      update %1 set %4 where current of C;\r\n"
                                        "      suspend;\r\n"
                                        "    end")
                             .arg(QLatin1String(t.name), QLatin1String(t.id), held, set);
    return idChunkBlock(inputs, QStringLiteral("DESCRIPTION %1").arg(columnType(t, "DESCRIPTION")), work);
}

void setCode(TDbStatement &statement, int index, const std::optional<qint32> &code)
{
    if (code)
        statement.setInt(index, *code);
    else
        statement.setNull(index);
}

} // namespace

TRevertWalk runRevert(TDbConnection &conx, const QList<TChangedRow> &recorded)
{
    TRevertWalk walk;
    QSet<QPair<int, qint32>> putBack;
    for (const TRevertGroup &group : groupByMove(recorded)) {
        const TTableColumns &t = tableColumns(group.codes.table);
        const bool department = t.purchase != nullptr;
        TDbStatement block(conx);
        block.setSQL(revertBlock(t));
        int index = 0;
        setCode(block, index++, group.codes.oldSales);
        if (department)
            setCode(block, index++, group.codes.oldPurchase);
        setCode(block, index++, group.codes.newSales);
        if (department)
            setCode(block, index++, group.codes.newPurchase);
        runIdChunks(block, index, group.ids, [&](const TDbStatement &row) {
            TChangedRow back = group.codes;
            back.id = row.field(0).asInteger();
            back.description = row.field(1).asText();
            std::swap(back.oldSales, back.newSales);
            std::swap(back.oldPurchase, back.newPurchase);
            walk.putBack.append(back);
            putBack.insert({int(back.table), back.id});
        });
    }
    for (const TChangedRow &row : recorded)
        if (!putBack.contains({int(row.table), row.id}))
            walk.left.append(row);
    return walk;
}

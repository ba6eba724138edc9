#include "catalogue/changeover/RevertWalk.h"

#include "catalogue/changeover/ChangeRecord.h"
#include "catalogue/changeover/CodeRates.h"
#include "catalogue/changeover/IdChunks.h"
#include "catalogue/changeover/TableColumns.h"
#include "database/DbStatement.h"
#include "util/Errors.h"

#include <QHash>
#include <QSet>

namespace {

// Recorded rows of one table that move between the same codes: one block for them all.
struct TRevertGroup
{
    TChangedRow codes; // table and codes; id and description unused
    QList<qint32> ids;
    QHash<qint32, TChangedRow> recorded; // by id
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
        if (group == groups.end()) {
            groups.append({row, {row.id}, {{row.id, row}}});
        } else {
            group->ids.append(row.id);
            group->recorded.insert(row.id, row);
        }
    }
    return groups;
}

// The row still holds exactly the codes the record wrote.
QString heldCodes(const TTableColumns &t)
{
    return t.purchase ? QStringLiteral("%1 is not distinct from :NEW_S and %2 is not distinct from :NEW_P")
                            .arg(QLatin1String(t.sales), QLatin1String(t.purchase))
                      : QStringLiteral("%1 is not distinct from :NEW_S").arg(QLatin1String(t.sales));
}

// The rows that hold the codes given as NEW_S (and NEW_P), with their descriptions;
// locked until the transaction ends when they are to be changed, so that what is
// compared is what gets changed.
QString heldBlock(const TTableColumns &t, bool lock)
{
    const QString inputs = t.purchase ? QStringLiteral("NEW_S integer = :NEW_S, NEW_P integer = :NEW_P")
                                      : QStringLiteral("NEW_S integer = :NEW_S");
    const QString work = QStringLiteral("for select DESCRIPTION from %1 where %2 = :ID and %3%4\r\n"
                                        "      into :DESCRIPTION do\r\n"
                                        "      suspend;")
                             .arg(QLatin1String(t.name), QLatin1String(t.id), heldCodes(t),
                                  lock ? QStringLiteral(" with lock") : QString());
    return idChunkBlock(inputs, QStringLiteral("DESCRIPTION %1").arg(columnType(t, "DESCRIPTION")), work);
}

// Codes set back where the row still holds the codes the record wrote.
QString revertBlock(const TTableColumns &t)
{
    const bool department = t.purchase != nullptr;
    const QString inputs = department ? QStringLiteral("OLD_S integer = :OLD_S, OLD_P integer = :OLD_P, "
                                                       "NEW_S integer = :NEW_S, NEW_P integer = :NEW_P")
                                      : QStringLiteral("OLD_S integer = :OLD_S, NEW_S integer = :NEW_S");
    const QString held = heldCodes(t);
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

// Of the ids, the rows of the group's table that hold the given codes and whose
// description is still the recorded one: a row id given since to another product is
// not that product.
QList<qint32> sameRowsHolding(TDbConnection &conx, const TRevertGroup &group, const QList<qint32> &ids,
                              const std::optional<qint32> &sales, const std::optional<qint32> &purchase, bool lock)
{
    const TTableColumns &t = tableColumns(group.codes.table);
    TDbStatement held(conx);
    held.setSQL(heldBlock(t, lock));
    setCode(held, 0, sales);
    if (t.purchase)
        setCode(held, 1, purchase);
    QList<qint32> same;
    runIdChunks(held, t.purchase ? 2 : 1, ids, [&](const TDbStatement &row) {
        const qint32 id = row.field(0).asInteger();
        if (holdsRecordedDescription(group.recorded.value(id), row.field(1).asText()))
            same.append(id);
    });
    return same;
}

// Gives the rows their old codes back, adding each to putBack as the revert's own record
// lists it.
void putBackRows(TDbConnection &conx, const TChangedRow &codes, const QList<qint32> &ids, QList<TChangedRow> &putBack)
{
    const TTableColumns &t = tableColumns(codes.table);
    const bool department = t.purchase != nullptr;
    TDbStatement block(conx);
    block.setSQL(revertBlock(t));
    int index = 0;
    setCode(block, index++, codes.oldSales);
    if (department)
        setCode(block, index++, codes.oldPurchase);
    setCode(block, index++, codes.newSales);
    if (department)
        setCode(block, index++, codes.newPurchase);
    runIdChunks(block, index, ids, [&](const TDbStatement &row) {
        TChangedRow back = codes;
        back.id = row.field(0).asInteger();
        back.description = row.field(1).asText();
        std::swap(back.oldSales, back.newSales);
        std::swap(back.oldPurchase, back.newPurchase);
        putBack.append(back);
    });
}

} // namespace

void checkRecordedCodes(TDbStatement &q1, const QList<TChangedRow> &recorded, const QString &recordPath)
{
    const QHash<qint32, QString> codes = readCodeRates(q1);
    for (const TChangedRow &row : recorded) {
        for (const std::optional<qint32> &code : {row.oldSales, row.oldPurchase}) {
            if (code && !codes.contains(*code))
                throw EPosError(QStringLiteral("The change record \"%1\" cannot be used: it gives %2 %3 %4 the VAT "
                                               "code %5 back, which the database no longer has.")
                                    .arg(recordPath, changedTableName(row.table), QString::number(row.id),
                                         row.description, QString::number(*code)));
        }
    }
}

TRevertWalk runRevert(TDbConnection &conx, const QList<TChangedRow> &recorded)
{
    TRevertWalk walk;
    QSet<QPair<int, qint32>> putBack;
    QSet<QPair<int, qint32>> atOldCodes;
    for (const TRevertGroup &group : groupByMove(recorded)) {
        const TChangedRow &codes = group.codes;
        const QList<qint32> ids = sameRowsHolding(conx, group, group.ids, codes.newSales, codes.newPurchase, true);
        if (!ids.isEmpty())
            putBackRows(conx, codes, ids, walk.putBack);
        const QSet<qint32> held(ids.begin(), ids.end());
        QList<qint32> others;
        for (qint32 id : group.ids)
            if (!held.contains(id))
                others.append(id);
        if (!others.isEmpty())
            for (qint32 id : sameRowsHolding(conx, group, others, codes.oldSales, codes.oldPurchase, false))
                atOldCodes.insert({int(codes.table), id});
    }
    for (const TChangedRow &row : walk.putBack)
        putBack.insert({int(row.table), row.id});
    for (const TChangedRow &row : recorded) {
        const QPair<int, qint32> key{int(row.table), row.id};
        if (atOldCodes.contains(key))
            walk.atOldCodes.append(row);
        else if (!putBack.contains(key))
            walk.left.append(row);
    }
    return walk;
}

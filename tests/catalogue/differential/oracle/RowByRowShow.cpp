#include "tests/catalogue/differential/oracle/RowByRowShow.h"

#include "database/DbStatement.h"
#include "database/StatementText.h"
#include "tests/catalogue/differential/oracle/RowByRowCollector.h"

namespace {

// A department's query selects on DEPT_ID alone and a sub-department's on SUB_DEPT
// alone, so their nodes also list the products filed further down. The old codes are
// written into the text as numbers.
QString productStatementText(int level, const QList<qint32> &oldVIDs)
{
    const char *column = level == 2 ? "SUB_DEPT" : level == 3 ? "L3DID" : "DEPT_ID";
    QStringList codes;
    for (qint32 vid : oldVIDs)
        codes << QString::number(vid);
    return QStringLiteral("select * from TBL_PRODUCTS where %1 = :DID and VAT_ID in (%2)\r\norder by DESCRIPTION")
        .arg(QLatin1String(column), codes.join(QStringLiteral(", ")));
}

QList<TProductRow> nodeProducts(TDbStatement &q1, int level, qint32 id, const QList<qint32> &oldVIDs)
{
    useStatementText(q1, productStatementText(level, oldVIDs));
    q1.setInt(0, id);
    QList<TProductRow> products;
    for (q1.open(); !q1.eof(); q1.next())
        products.append(
            {q1.field(QStringLiteral("SID")).asInteger(), q1.field(QStringLiteral("DESCRIPTION")).asText()});
    q1.close();
    return products;
}

// One product query per node, nodes in display order: each parent followed by its subtree.
void seedSubtree(TDbStatement &q1, TRowByRowShow &show, int parent)
{
    for (int i = 0; i < int(show.nodes.size()); ++i) {
        const TPlannedNode &node = show.nodes[size_t(i)];
        if (node.parent != parent)
            continue;
        show.selection.addNode(node.level, node.id, nodeProducts(q1, node.level, node.id, show.codes.oldVIDs));
        seedSubtree(q1, show, i);
    }
}

} // namespace

TRowByRowShow loadRowByRowShow(TDbConnection &conx)
{
    TDbStatement q1(conx);
    TDbStatement q2(conx);
    TRowByRowShow show;
    show.codes = resolveVatCodes(conx, q1);
    // A database without a 9 % code lists nothing.
    if (!show.codes.hasOldCode())
        return show;
    show.lines = TRowByRowCollector(conx, q1, q2).collect(show.codes.oldVIDs, show.codes.v62Plus);
    sortEntryLines(show.lines);
    show.nodes = planDepartmentTree(show.lines);
    seedSubtree(q1, show, -1);
    return show;
}

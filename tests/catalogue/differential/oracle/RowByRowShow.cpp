#include "tests/catalogue/differential/oracle/RowByRowShow.h"

#include "catalogue/core/SectionNames.h"
#include "catalogue/data/StatementText.h"
#include "database/DbStatement.h"
#include "tests/catalogue/differential/oracle/RowByRowCollector.h"

namespace {

// A department's query selects on DEPT_ID alone and a sub-department's on SUB_DEPT
// alone, so their sections also hold the products filed further down.
QString productStatementText(int level)
{
    switch (level) {
    case 2:
        return QStringLiteral(
            "select * from TBL_PRODUCTS where SUB_DEPT = :DID and VAT_ID = :VID\r\norder by DESCRIPTION");
    case 3:
        return QStringLiteral(
            "select * from TBL_PRODUCTS where L3DID = :DID and VAT_ID = :VID\r\norder by DESCRIPTION");
    default:
        return QStringLiteral(
            "select * from TBL_PRODUCTS where DEPT_ID = :DID and VAT_ID = :VID\r\norder by DESCRIPTION");
    }
}

void seedNodeProducts(TDbStatement &q1, TSelectionStore &store, int level, qint32 id, qint32 oldVID)
{
    useStatementText(q1, productStatementText(level));
    q1.setInt(0, id);
    q1.setInt(1, oldVID);
    const QString section = sectionName(level, id);
    const QString unticked = QStringLiteral("N");
    for (q1.open(); !q1.eof(); q1.next())
        store.write(
            section,
            productKey(q1.field(QStringLiteral("SID")).asInteger(), q1.field(QStringLiteral("DESCRIPTION")).asText()),
            unticked);
    q1.close();
}

} // namespace

TRowByRowShow loadRowByRowShow(TDbConnection &conx)
{
    TDbStatement q1(conx);
    TDbStatement q2(conx);
    TRowByRowShow show;
    show.codes = resolveVatCodes(conx, q1);
    // A database without a 9 % code lists nothing.
    if (!show.codes.hasOldCode)
        return show;
    show.lines = TRowByRowCollector(conx, q1, q2).collect(show.codes.oldVID, show.codes.v62Plus);
    sortEntryLines(show.lines);
    show.nodes = planDepartmentTree(show.lines);
    for (const TPlannedNode &node : show.nodes)
        seedNodeProducts(q1, show.store, node.level, node.id, show.codes.oldVID);
    return show;
}

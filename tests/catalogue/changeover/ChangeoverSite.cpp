#include "tests/catalogue/changeover/ChangeoverSite.h"

#include "database/DbConnection.h"
#include "database/DbStatement.h"
#include "tests/support/SiteSql.h"

using namespace site;

namespace changeover {

QStringList siteSql()
{
    return {setup(kSiteID ^ 0x3A91E27D),
            vat(1, "9", 5),
            vat(2, "13.5", 3),
            vat(3, "23", 1),
            dept(1, "Bar", 1),
            sub(10, 1, "Beer", 1),
            l3(100, 10, "Lager", 1),
            sub(11, 1, "Wine", 1),
            QStringLiteral("insert into TBL_DEPARTMENTS (DEPT_ID, DESCRIPTION, VAT_ID, PURCH_VAT, IS_ACTIVE,"
                           " REPORT_GROUP) values (2, 'Kitchen', 2, 1, 'Y', 2)"),
            product(11, "Stout", 1, 1, 10),
            product(12, "Pils", 1, 1, 10, 100),
            product(13, "Nuts", 1, 1),
            product(14, "Merlot", 1, 1, 11),
            product(21, "Soup", 1, 2),
            product(0, "Zero", 1, 1)};
}

namespace {

struct TreeNode
{
    Node node;
    qint32 id;
    int level;
    QList<TProductRow> products;
};

const QList<TreeNode> &tree()
{
    static const QList<TreeNode> nodes = {
        {Bar, 1, 1, {{0, "Zero"}, {11, "Stout"}, {12, "Pils"}, {13, "Nuts"}, {14, "Merlot"}}},
        {Beer, 10, 2, {{11, "Stout"}, {12, "Pils"}}},
        {Lager, 100, 3, {{12, "Pils"}}},
        {Wine, 11, 2, {{14, "Merlot"}}},
        {Kitchen, 2, 1, {{21, "Soup"}}},
    };
    return nodes;
}

// Rows of one query as "<prefix><id> <values joined by />".
void addRows(TDbConnection &conx, const QString &prefix, const QString &sql, QStringList &lines)
{
    TDbStatement query(conx);
    query.setSQL(sql);
    for (query.open(); !query.eof(); query.next()) {
        QStringList values;
        for (int i = 1; i < query.fieldCount(); ++i)
            values << query.field(i).asText();
        lines << prefix + query.field(0).asText() + QLatin1Char(' ') + values.join(QLatin1Char('/'));
    }
}

} // namespace

TSelection seededSelection(const QList<Node> &marked, const QList<Node> &leftOut)
{
    TSelection selection;
    for (const TreeNode &n : tree()) {
        if (leftOut.contains(n.node))
            continue;
        selection.addNode(n.level, n.id, n.products);
        selection.setMarked(selection.nodeOf(n.level, n.id), marked.contains(n.node));
    }
    return selection;
}

void setProductTick(TSelection &selection, qint32 sid, bool ticked)
{
    for (int product = 0; product < selection.productCount(); ++product)
        if (selection.product(product).sid == sid)
            selection.setTicked(product, ticked);
}

QStringList rows(const QString &databasePath)
{
    TDbConnection conx;
    conx.setDatabase(databasePath);
    conx.open();
    QStringList lines;
    addRows(conx, "D", "select DEPT_ID, VAT_ID, PURCH_VAT from TBL_DEPARTMENTS order by 1", lines);
    addRows(conx, "S", "select SUB_DEPT, SALES_VID, PURCH_VID from TBL_SUB_DEPARTMENTS order by 1", lines);
    addRows(conx, "T", "select L3DID, SALES_VID, PURCH_VID from TBL_L3DEPARTMENTS order by 1", lines);
    addRows(conx, "P", "select SID, VAT_ID from TBL_PRODUCTS order by 1", lines);
    conx.commit();
    return lines;
}

QStringList baselineRows()
{
    return {"D1 1/1", "D2 2/1", "S10 1/1", "S11 1/1", "T100 1/1", "P0 1", "P11 1", "P12 1", "P13 1", "P14 1", "P21 1"};
}

QStringList baselineWith(const QStringList &changed)
{
    QStringList lines = baselineRows();
    for (const QString &line : changed) {
        const QString row = line.section(QLatin1Char(' '), 0, 0) + QLatin1Char(' ');
        for (QString &existing : lines)
            if (existing.startsWith(row))
                existing = line;
    }
    return lines;
}

namespace {

qint64 firstValue(const QString &databasePath, const QString &sql)
{
    TDbConnection conx;
    conx.setDatabase(databasePath);
    conx.open();
    TDbStatement query(conx);
    query.setSQL(sql);
    query.open();
    const qint64 value = query.eof() ? -1 : query.field(0).asInt64();
    query.close();
    conx.commit();
    return value;
}

} // namespace

bool departmentTriggerActive(const QString &databasePath)
{
    return firstValue(databasePath,
                      "select coalesce(RDB$TRIGGER_INACTIVE, 0) from RDB$TRIGGERS"
                      " where RDB$TRIGGER_NAME = 'TAU_DEPT'")
        == 0;
}

int departmentLogRows(const QString &databasePath)
{
    return int(firstValue(databasePath, "select count(*) from TBL_DEPT_LOG"));
}

} // namespace changeover

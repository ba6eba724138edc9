#include "catalogue/data/ShowData.h"

#include "catalogue/core/RateText.h"
#include "catalogue/core/Selection.h"
#include "catalogue/data/EntryCollector.h"
#include "catalogue/data/UserText.h"
#include "catalogue/data/VatRates.h"
#include "database/DbStatement.h"
#include "database/StatementText.h"

namespace {

// Every code's rate at once: the table holds a handful of rows.
QHash<qint32, QString> readRateTexts(TDbStatement &q)
{
    return readVatRates(q, [](const TDbField &rate) { return rateText(userText(rate)); });
}

std::optional<qint32> optionalInteger(const TDbField &field)
{
    if (field.isNull())
        return std::nullopt;
    return field.asInteger();
}

// ":VID0, :VID1, ..." for as many codes.
QString codeParameters(qsizetype count)
{
    QStringList names;
    for (qsizetype i = 0; i < count; ++i)
        names << QStringLiteral(":VID%1").arg(i);
    return names.join(QStringLiteral(", "));
}

// Without the third level the product table may predate its column. Products of the
// same name follow their numbers, so that the list is the same on every showing.
QList<TFiledProduct> readOldCodeProducts(TDbStatement &q, const QList<qint32> &oldVIDs, bool v62Plus)
{
    const QString columns = v62Plus ? QStringLiteral("SID, DESCRIPTION, DEPT_ID, SUB_DEPT, L3DID")
                                    : QStringLiteral("SID, DESCRIPTION, DEPT_ID, SUB_DEPT");
    useStatementText(q,
                     QStringLiteral("select %1 from TBL_PRODUCTS where VAT_ID in (%2)\r\norder by DESCRIPTION, SID")
                         .arg(columns, codeParameters(oldVIDs.size())));
    for (qsizetype i = 0; i < oldVIDs.size(); ++i)
        q.setInt(int(i), oldVIDs[i]);
    QList<TFiledProduct> products;
    for (q.open(); !q.eof(); q.next()) {
        products.append({q.field(0).asInteger(), q.field(1).asText(), optionalInteger(q.field(2)),
                         optionalInteger(q.field(3)), v62Plus ? optionalInteger(q.field(4)) : std::nullopt});
    }
    q.close();
    return products;
}

} // namespace

TShowData loadShowData(TDbConnection &conx, TDbStatement &q1)
{
    return readShowData(q1, resolveVatCodes(conx, q1));
}

TShowData readShowData(TDbStatement &q1, const TVatResolution &codes)
{
    TShowData data;
    data.codes = codes;
    if (!codes.hasOldCode())
        return data;
    const bool v62Plus = data.codes.v62Plus;

    const QHash<qint32, QString> rates = readRateTexts(q1);
    const QList<TFiledProduct> products = readOldCodeProducts(q1, codes.oldVIDs, v62Plus);
    const TOwnLevelHolders holders(products);
    TEntryCollector collector(q1, holders, rates);
    data.lines = collector.collect(codes.oldVIDs, v62Plus);
    sortEntryLines(data.lines);

    std::vector<TPlannedNode> plan = planDepartmentTree(data.lines, collector.descriptions(), collector.nameless());
    std::vector<QList<TProductRow>> listed = productsOfNodes(plan, products);
    data.nodes.reserve(plan.size());
    for (size_t i = 0; i < plan.size(); ++i)
        data.nodes.push_back({std::move(plan[i]), std::move(listed[i])});
    return data;
}

void seedSelection(TSelection &selection, const std::vector<TShowNode> &nodes)
{
    // Each node's children gathered in one pass, then walked depth first, so that every
    // node's subtree follows it.
    std::vector<std::vector<int>> children(nodes.size() + 1); // the last for the roots
    for (size_t i = 0; i < nodes.size(); ++i) {
        const int parent = nodes[i].node.parent;
        children[parent < 0 ? nodes.size() : size_t(parent)].push_back(int(i));
    }
    std::vector<int> pending(children.back().rbegin(), children.back().rend());
    while (!pending.empty()) {
        const TShowNode &shown = nodes[size_t(pending.back())];
        const std::vector<int> &below = children[size_t(pending.back())];
        pending.pop_back();
        selection.addNode(shown.node.level, shown.node.id, shown.products);
        pending.insert(pending.end(), below.rbegin(), below.rend());
    }
}

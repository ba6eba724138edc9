#include "tests/catalogue/differential/ShowText.h"

#include "tests/catalogue/SelectionKeys.h"

#include <QHash>
#include <algorithm>

namespace {

QString bracketed(const QString &text)
{
    return QLatin1Char('[') + text + QLatin1Char(']');
}

// The description as the database compares it: texts are compared as if padded with
// blanks, so trailing blanks do not count.
QString comparedDescription(const TProductRow &product)
{
    QString description = product.description;
    while (description.endsWith(QLatin1Char(' ')))
        description.chop(1);
    return description;
}

// Products whose descriptions tie come in whatever order the database's sort leaves them:
// "order by DESCRIPTION" fixes none, and the same query gives another order when it
// selects other columns. Each run of ties is put in key order on both sides, so that
// every order the database does fix is still compared.
QList<TProductRow> inTieOrder(QList<TProductRow> products)
{
    for (int start = 0; start < products.size();) {
        int end = start + 1;
        while (end < products.size() && comparedDescription(products[end]) == comparedDescription(products[start]))
            ++end;
        std::sort(products.begin() + start, products.begin() + end,
                  [](const TProductRow &a, const TProductRow &b) { return productKeyText(a) < productKeyText(b); });
        start = end;
    }
    return products;
}

} // namespace

QStringList codesText(const TVatResolution &codes)
{
    QStringList oldVIDs;
    for (qint32 vid : codes.oldVIDs)
        oldVIDs << QString::number(vid);
    return {QStringLiteral("siteID=%1").arg(codes.siteID), QStringLiteral("newVID=%1").arg(codes.newVID),
            QStringLiteral("v62Plus=%1").arg(codes.v62Plus),
            QStringLiteral("oldVIDs=") + oldVIDs.join(QLatin1Char(','))};
}

QStringList linesText(const QList<TEntryLine> &lines)
{
    QStringList texts;
    for (const TEntryLine &line : lines)
        texts << bracketed(line.text)
                + QStringLiteral(" level=%1 parent=%2 own=%3 caption=")
                      .arg(line.level)
                      .arg(line.parentId)
                      .arg(line.ownId)
                + bracketed(line.caption);
    return texts;
}

QStringList plannedNodesText(const std::vector<TPlannedNode> &nodes)
{
    QStringList texts;
    for (const TPlannedNode &node : nodes)
        texts << QStringLiteral("level=%1 id=%2 parent=%3 caption=").arg(node.level).arg(node.id).arg(node.parent)
                + bracketed(node.caption);
    return texts;
}

QStringList nodeProductsText(const std::vector<TPlannedNode> &nodes,
                             const std::vector<QList<TProductRow>> &productsPerNode)
{
    QStringList texts;
    for (size_t i = 0; i < nodes.size() && i < productsPerNode.size(); ++i)
        for (const TProductRow &product : inTieOrder(productsPerNode[i]))
            texts << QStringLiteral("%1:%2 ").arg(nodes[i].level).arg(nodes[i].id) + bracketed(productKeyText(product));
    return texts;
}

QStringList selectionText(const TSelection &selection)
{
    QStringList texts;
    for (int node = 0; node < selection.nodeCount(); ++node) {
        texts << QStringLiteral("node %1:%2 ").arg(selection.level(node)).arg(selection.id(node))
                + bracketed(selection.isMarked(node) ? QStringLiteral("marked") : QStringLiteral("unmarked"));
        QList<TProductRow> products;
        QHash<QString, bool> ticked;
        for (int product : selection.productsOf(node)) {
            products << selection.product(product);
            ticked.insert(productKeyText(selection.product(product)), selection.isTicked(product));
        }
        for (const TProductRow &product : inTieOrder(products)) {
            const QString key = productKeyText(product);
            texts << QStringLiteral("  ") + bracketed(key) + QStringLiteral(" = ")
                    + bracketed(ticked.value(key) ? QStringLiteral("Y") : QStringLiteral("N"));
        }
    }
    return texts;
}

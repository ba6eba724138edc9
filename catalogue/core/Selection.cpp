#include "catalogue/core/Selection.h"

#include "catalogue/core/DepartmentPlan.h"

#include <QSet>

void TSelection::addNode(int level, qint32 id, const QList<TProductRow> &products)
{
    const quint64 key = departmentNodeKey(level, id);
    int node = fNodeIndex.value(key, -1);
    if (node < 0) {
        node = nodeCount();
        fNodeIndex.insert(key, node);
        fNodes.push_back({level, id, false, {}});
    }
    QList<int> &listed = fNodes[size_t(node)].products;
    QSet<int> seen(listed.cbegin(), listed.cend());
    for (const TProductRow &row : products) {
        const int index = productIndex(row);
        if (!seen.contains(index)) {
            seen.insert(index);
            listed.append(index);
        }
    }
}

void TSelection::clear()
{
    *this = TSelection();
}

int TSelection::nodeOf(int level, qint32 id) const
{
    return fNodeIndex.value(departmentNodeKey(level, id), -1);
}

void TSelection::clickNode(int node)
{
    Node &clicked = fNodes.at(size_t(node));
    clicked.marked = !clicked.marked;
    if (!clicked.marked)
        return;
    for (int product : clicked.products)
        fTicked[size_t(product)] = true;
    // Display order puts a node's subtree right after it.
    for (size_t below = size_t(node) + 1; below < fNodes.size() && fNodes[below].level > clicked.level; ++below)
        fNodes[below].marked = true;
}

bool TSelection::toggleProduct(int product)
{
    const bool ticked = !fTicked.at(size_t(product));
    fTicked[size_t(product)] = ticked;
    return ticked;
}

int TSelection::productIndex(const TProductRow &row)
{
    const ProductIdentity identity{row.sid, row.description.isNull(), row.description};
    const auto found = fProductIndex.find(identity);
    if (found != fProductIndex.end())
        return found->second;
    const int index = productCount();
    fProducts.push_back(row);
    fTicked.push_back(false);
    fProductIndex.emplace(identity, index);
    return index;
}

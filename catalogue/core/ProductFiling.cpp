#include "catalogue/core/ProductFiling.h"

#include <QHash>

namespace {

bool filedBelow(const std::optional<qint32> &lowerLevel)
{
    return lowerLevel && *lowerLevel > 0;
}

} // namespace

TOwnLevelHolders::TOwnLevelHolders(const QList<TFiledProduct> &products)
{
    for (const TFiledProduct &product : products) {
        if (product.deptId && !filedBelow(product.subDeptId))
            fLevels[0].insert(*product.deptId);
        if (product.subDeptId && !filedBelow(product.l3Id))
            fLevels[1].insert(*product.subDeptId);
        if (product.l3Id)
            fLevels[2].insert(*product.l3Id);
    }
}

bool TOwnLevelHolders::holds(int level, qint32 id) const
{
    return level >= 1 && level <= 3 && fLevels[level - 1].contains(id);
}

std::vector<QList<TProductRow>> productsOfNodes(const std::vector<TPlannedNode> &plan,
                                                const QList<TFiledProduct> &products)
{
    // The plan has one node per level and id.
    QHash<quint64, int> nodeIndex;
    for (int i = 0; i < int(plan.size()); ++i)
        nodeIndex.insert(departmentNodeKey(plan[i].level, plan[i].id), i);

    std::vector<QList<TProductRow>> listed(plan.size());
    const auto listUnder = [&](int level, const std::optional<qint32> &id, const TFiledProduct &product) {
        if (!id)
            return;
        const int index = nodeIndex.value(departmentNodeKey(level, *id), -1);
        if (index >= 0)
            listed[index].append({product.sid, product.description});
    };
    for (const TFiledProduct &product : products) {
        listUnder(1, product.deptId, product);
        listUnder(2, product.subDeptId, product);
        listUnder(3, product.l3Id, product);
    }
    return listed;
}

#include "catalogue/changeover/ChangeoverPlan.h"

#include "catalogue/core/Selection.h"

#include <QSet>

namespace {

int tableOfLevel(int level)
{
    return (level == 2 || level == 3) ? level - 1 : 0;
}

// Appends the id the first time it is seen.
void addOnce(QList<qint32> &ids, QSet<qint32> &seen, qint32 id)
{
    if (!seen.contains(id)) {
        seen.insert(id);
        ids.append(id);
    }
}

} // namespace

TChangeoverPlan planChangeover(const TSelection &selection)
{
    TChangeoverPlan plan;
    std::array<QSet<qint32>, 3> departmentsSeen;
    QSet<qint32> productsSeen;
    for (int node = 0; node < selection.nodeCount(); ++node) {
        if (selection.isMarked(node)) {
            const int table = tableOfLevel(selection.level(node));
            addOnce(plan.departments[table], departmentsSeen[table], selection.id(node));
        }
        for (int product : selection.productsOf(node))
            if (selection.isTicked(product))
                addOnce(plan.products, productsSeen, selection.product(product).sid);
    }
    return plan;
}

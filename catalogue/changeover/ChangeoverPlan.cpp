#include "catalogue/changeover/ChangeoverPlan.h"

#include "catalogue/core/SectionNames.h"
#include "catalogue/core/SelectionStore.h"
#include "util/uUtils.h"

#include <QSet>

namespace {

int tableOfDepth(int depth)
{
    return (depth == 1 || depth == 2) ? depth : 0;
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

TChangeoverPlan planChangeover(const QList<TChangeoverNode> &nodes, const TSelectionStore &store)
{
    TChangeoverPlan plan;
    std::array<QSet<qint32>, 3> departmentsSeen;
    QSet<qint32> productsSeen;
    const QString no = QStringLiteral("N");
    for (const TChangeoverNode &node : nodes) {
        if (node.ticked) {
            const int table = tableOfDepth(node.depth);
            addOnce(plan.departments[table], departmentsSeen[table], node.id);
        }
        const QString section = sectionName(node.depth + 1, node.id);
        for (const QString &key : store.keys(section)) {
            if (!YNToBool(store.read(section, key, no)))
                continue;
            if (const std::optional<qint32> sid = productSidOfKey(key))
                addOnce(plan.products, productsSeen, *sid);
        }
    }
    return plan;
}

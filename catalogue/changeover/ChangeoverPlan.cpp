#include "catalogue/changeover/ChangeoverPlan.h"

#include "catalogue/core/SectionNames.h"
#include "catalogue/core/SelectionStore.h"
#include "util/uUtils.h"

#include <QSet>
#include <limits>

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

bool changeoverProductSid(const QString &key, qint32 &sid)
{
    bool isNumber = false;
    const qint64 value = GetField(0, key, QStringLiteral("_")).toLongLong(&isNumber);
    if (!isNumber || value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        return false;
    sid = qint32(value);
    return true;
}

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
            qint32 sid = 0;
            if (YNToBool(store.read(section, key, no)) && changeoverProductSid(key, sid))
                addOnce(plan.products, productsSeen, sid);
        }
    }
    return plan;
}

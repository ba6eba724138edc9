#include "catalogue/core/DepartmentPlan.h"

#include <QHash>

quint64 departmentNodeKey(int level, qint32 id)
{
    return (quint64(quint32(level)) << 32) | quint32(id);
}

std::vector<TPlannedNode> planDepartmentTree(const QList<TEntryLine> &sortedLines)
{
    std::vector<TPlannedNode> plan;
    QHash<quint64, int> made; // level and id to plan index
    for (const TEntryLine &line : sortedLines) {
        const quint64 key = departmentNodeKey(line.level, line.ownId);
        if (made.contains(key))
            continue;
        int parent = -1;
        if (line.level > 1) {
            parent = made.value(departmentNodeKey(line.level - 1, line.parentId), -1);
            if (parent < 0)
                continue;
        }
        made.insert(key, int(plan.size()));
        plan.push_back({line.level, line.ownId, line.caption, parent});
    }
    return plan;
}

#include "catalogue/core/DepartmentPlan.h"

quint64 departmentNodeKey(int level, qint32 id)
{
    return (quint64(quint32(level)) << 32) | quint32(id);
}

std::vector<TPlannedNode> planDepartmentTree(const QList<TEntryLine> &sortedLines,
                                             const QHash<quint64, QString> &descriptions, const QSet<quint64> &nameless)
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
        plan.push_back({line.level, line.ownId, line.caption, parent, descriptions.value(key), nameless.contains(key)});
    }
    return plan;
}

TCaptionParts splitNodeCaption(const QString &caption)
{
    // The rate text is padded on the left with plain blanks to 10 columns and holds none
    // itself (no locale groups thousands with one), so the last blank ends the
    // description for any rate text under 10 characters: -999.99 % up to 9,999.99 %.
    // Without a blank the description was empty and the caption is the rate alone.
    const qsizetype blank = caption.lastIndexOf(QLatin1Char(' '));
    if (blank < 0)
        return {QString(), caption};
    return {caption.left(blank).trimmed(), caption.mid(blank + 1)};
}

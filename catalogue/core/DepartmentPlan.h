#pragma once
// Which tree nodes the sorted entry lines make, and under which parent, before any
// widget is touched.
#include "catalogue/core/EntryLines.h"

#include <QHash>
#include <QSet>
#include <vector>

struct TPlannedNode
{
    int level = 0;
    qint32 id = 0;
    QString caption;
    int parent = -1;          // index of the parent in the plan, -1 for a root node
    QString description;      // whole, as stored: the caption cuts it to 20 columns
    bool nameMissing = false; // the database holds no description (NULL), not an empty one
};

// One number for a department's level and id, to look its node up.
quint64 departmentNodeKey(int level, qint32 id);

// One node per department and level, made by its first line in sorted order; later
// lines for the same department are skipped. A level-1 line makes a root node; any
// other line goes under the node of its parent id one level up. Every id matches,
// 0 and negative ones too, so a node's depth is always its level - 1: the changeover
// picks the table to update by depth, and a sub-department standing at the root
// would have a department row of the same id rewritten. A line whose parent has no
// node (which the collected lines never give) is therefore skipped, not made a root.
// descriptions: the whole description of each department by departmentNodeKey; a node
// not found there has none. nameless: the departments whose description is NULL.
std::vector<TPlannedNode> planDepartmentTree(const QList<TEntryLine> &sortedLines,
                                             const QHash<quint64, QString> &descriptions = {},
                                             const QSet<quint64> &nameless = {});

// A node's caption in its two parts: the description as the caption shows it (cut to
// 20 columns, without the blanks around it) and the rate text.
struct TCaptionParts
{
    QString description;
    QString rate;
};

TCaptionParts splitNodeCaption(const QString &caption);

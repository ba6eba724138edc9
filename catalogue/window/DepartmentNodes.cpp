#include "catalogue/window/DepartmentNodes.h"

#include "catalogue/core/DepartmentPlan.h"
#include "catalogue/core/SectionNames.h"
#include "catalogue/core/ShownName.h"

#include <QTreeWidgetItem>

namespace {
constexpr int kIdRole = Qt::UserRole;
constexpr int kMarkRole = Qt::UserRole + 1;

QString departmentToolTip(int level, const QString &shownName, qint32 id)
{
    const QString kind = level == 1 ? QStringLiteral("Department")
        : level == 2                ? QStringLiteral("Sub-department")
                                    : QStringLiteral("Third-level department");
    return shownName + QLatin1Char('\n') + kind + QLatin1Char(' ') + QString::number(id);
}
} // namespace

void initDepartmentNode(QTreeWidgetItem *node, const TPlannedNode &planned)
{
    if (planned.nameMissing) {
        // The caption of a missing name is the rate alone.
        node->setText(0, missingName() + QStringLiteral("  ") + planned.caption.trimmed());
        QFont italic = node->font(0);
        italic.setItalic(true);
        node->setFont(0, italic);
        node->setForeground(0, QColor(Qt::gray));
    } else {
        node->setText(0, planned.caption);
    }
    node->setData(0, kIdRole, planned.id);
    node->setData(0, kMarkRole, int(nmUnticked));
    node->setToolTip(0,
                     departmentToolTip(planned.level,
                                       planned.nameMissing ? missingName() : isolatedName(planned.description),
                                       planned.id));
    node->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
}

qint32 nodeId(const QTreeWidgetItem *node)
{
    return node->data(0, kIdRole).toInt();
}

qint32 nodeId(const QModelIndex &index)
{
    return index.data(kIdRole).toInt();
}

int nodeMark(const QTreeWidgetItem *node)
{
    return node->data(0, kMarkRole).toInt();
}

int nodeMark(const QModelIndex &index)
{
    return index.data(kMarkRole).toInt();
}

void setNodeMark(QTreeWidgetItem *node, int mark)
{
    node->setData(0, kMarkRole, mark);
}

int nodeDepth(const QTreeWidgetItem *node)
{
    int depth = 0;
    for (const QTreeWidgetItem *p = node->parent(); p; p = p->parent())
        ++depth;
    return depth;
}

QString nodeSection(const QTreeWidgetItem *node)
{
    return sectionName(nodeDepth(node) + 1, nodeId(node));
}

void toggleMark(QTreeWidgetItem *node, int first, int second)
{
    if (!node)
        return;
    const int mark = nodeMark(node);
    if (mark == first)
        setNodeMark(node, second);
    else if (mark == second)
        setNodeMark(node, first);
}

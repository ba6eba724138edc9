#include "catalogue/window/DepartmentNodes.h"

#include "catalogue/core/DepartmentPlan.h"
#include "catalogue/core/ShownName.h"

#include <QTreeWidgetItem>

namespace {
constexpr int kIdRole = Qt::UserRole;

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

int nodeDepth(const QTreeWidgetItem *node)
{
    int depth = 0;
    for (const QTreeWidgetItem *p = node->parent(); p; p = p->parent())
        ++depth;
    return depth;
}

int nodeLevel(const QTreeWidgetItem *node)
{
    return nodeDepth(node) + 1;
}

int nodeLevel(const QModelIndex &index)
{
    int level = 1;
    for (QModelIndex p = index.parent(); p.isValid(); p = p.parent())
        ++level;
    return level;
}

#pragma once
// What the changeover will rewrite, worked out from the tree's marks and the product
// ticks before any statement runs.
#include <QList>
#include <QString>
#include <QtGlobal>
#include <array>

class TSelectionStore;

// One node of the department tree as the rewrite needs it, in display order.
struct TChangeoverNode
{
    qint32 id = 0;
    int depth = 0; // 0 department, 1 sub-department, 2 third-level department
    bool ticked = false;
};

struct TChangeoverPlan
{
    // Ids of the ticked departments by table: [0] departments, [1] sub-departments,
    // [2] third-level departments; each id once, in display order.
    std::array<QList<qint32>, 3> departments;
    // Every product ticked in any node's section, once, in the order first met.
    QList<qint32> products;
};

// Nodes in display order: a ticked node moves its own department row (a depth other than
// 1 or 2 stands for a department); every key of any node's section whose value counts as
// ticked moves that product, whether the node is ticked or not. A key that names no
// product number moves nothing.
TChangeoverPlan planChangeover(const QList<TChangeoverNode> &nodes, const TSelectionStore &store);

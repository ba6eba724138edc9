#pragma once
// What the changeover will rewrite, worked out from the operator's selection before any
// statement runs.
#include <QList>
#include <QtGlobal>
#include <array>

class TSelection;

struct TChangeoverPlan
{
    // Ids of the marked departments by table: [0] departments, [1] sub-departments,
    // [2] third-level departments; each id once, in display order.
    std::array<QList<qint32>, 3> departments;
    // Every ticked product's number, once, in the order first met.
    QList<qint32> products;
};

// Nodes in display order: a marked node moves its own department row (a level other than
// 2 or 3 stands for a department); every ticked product a node lists moves, whether the
// node is marked or not.
TChangeoverPlan planChangeover(const TSelection &selection);

#pragma once
// The operator's work on the tree before Proceed, at random, done the way the window
// does it: ticking a node ticks every product it lists in every section that lists it
// and marks the node's descendants; unticking a node clears its own mark only; a click
// in the product list sets the product in every section; and single values are set in
// one section, lower-case "y" included.
#include "catalogue/changeover/ChangeoverUpdate.h"
#include "catalogue/core/DepartmentPlan.h"
#include "catalogue/core/SelectionStore.h"

#include <vector>

struct TRandomTicks
{
    QList<TChangeoverNode> nodes; // in display order: each parent followed by its subtree
    TSelectionStore store;
};

// With startTicked every node is ticked before the clicks, as an operator moving nearly
// everything would; otherwise now and then all or nothing, mostly a handful of clicks.
TRandomTicks randomTicks(const std::vector<TPlannedNode> &plan, const TSelectionStore &seeded, quint32 seed,
                         bool startTicked);

#pragma once
// What the window showed, read the way it was read before the set-based reads: the
// codes, the entry lines one probe and one rate lookup per row, then one product query
// per tree node seeding the selection.
#include "catalogue/core/DepartmentPlan.h"
#include "catalogue/core/EntryLines.h"
#include "catalogue/core/Selection.h"
#include "catalogue/data/VatCodes.h"

#include <vector>

class TDbConnection;

struct TRowByRowShow
{
    TVatResolution codes;
    QList<TEntryLine> lines;         // sorted as the window sorts them
    std::vector<TPlannedNode> nodes; // the plan of the sorted lines
    TSelection selection;            // every node in display order, the products it lists unticked
};

// On an open connection, in its current transaction (left for the caller to end).
TRowByRowShow loadRowByRowShow(TDbConnection &conx);

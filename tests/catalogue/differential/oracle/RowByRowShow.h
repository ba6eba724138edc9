#pragma once
// What the window showed, read the way it was read before the set-based reads: the
// codes, the entry lines one probe and one rate lookup per row, then one product query
// per tree node seeding the store.
#include "catalogue/core/DepartmentPlan.h"
#include "catalogue/core/EntryLines.h"
#include "catalogue/core/SelectionStore.h"
#include "catalogue/data/VatCodes.h"

#include <vector>

class TDbConnection;

struct TRowByRowShow
{
    TVatResolution codes;
    QList<TEntryLine> lines;         // sorted as the window sorts them
    std::vector<TPlannedNode> nodes; // the plan of the sorted lines
    TSelectionStore store;           // "N" for every product each node lists
};

// On an open connection, in its current transaction (left for the caller to end).
TRowByRowShow loadRowByRowShow(TDbConnection &conx);

#pragma once
// Everything the main window shows, read in a fixed number of set-based statements
// whatever the size of the site, so that a database on another machine costs a few
// round trips, not several per department. The tree, its sections and the product
// rows are then made in memory.
#include "catalogue/core/DepartmentPlan.h"
#include "catalogue/core/EntryLines.h"
#include "catalogue/core/ProductFiling.h"
#include "catalogue/data/VatCodes.h"

#include <vector>

class TDbConnection;
class TDbStatement;
class TSelection;

struct TShowNode
{
    TPlannedNode node;
    // The products at the old codes the node lists, in the database's order of their
    // descriptions (its own collation decides), then by number.
    QList<TProductRow> products;
};

struct TShowData
{
    TVatResolution codes;
    QList<TEntryLine> lines;      // sorted: parents before children, siblings by name
    std::vector<TShowNode> nodes; // the tree in display order; parent indexes into it
};

// On an open connection, in its current transaction (started on demand and left for
// the caller to end): resolves the VAT codes, then reads the rest as readShowData.
// Database errors are not caught.
TShowData loadShowData(TDbConnection &conx, TDbStatement &q1);
// With the codes resolved: reads the rate of every code, the products at the old codes
// and the department rows of each level, and makes the tree and its product rows.
// Without an old code nothing is read and nothing listed.
TShowData readShowData(TDbStatement &q1, const TVatResolution &codes);

// Adds every node to the selection in display order (each parent followed by its subtree),
// with the products it lists, nothing marked or ticked.
void seedSelection(TSelection &selection, const std::vector<TShowNode> &nodes);

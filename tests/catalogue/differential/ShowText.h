#pragma once
// What either path gives the window, part by part as text lines, so that the two
// compare line by line and a difference names the part it is in.
#include "catalogue/core/DepartmentPlan.h"
#include "catalogue/core/EntryLines.h"
#include "catalogue/core/ProductFiling.h"
#include "catalogue/data/VatCodes.h"

#include <vector>

class TSelection;

QStringList codesText(const TVatResolution &codes);
// Each line's fixed-column text exactly, with the fields the tree is planned from.
QStringList linesText(const QList<TEntryLine> &lines);
QStringList plannedNodesText(const std::vector<TPlannedNode> &nodes);
// One line per product a node lists, in order (ties on the description in key order):
// the node's level and id, the product's key ("<number>_<description>").
QStringList nodeProductsText(const std::vector<TPlannedNode> &nodes,
                             const std::vector<QList<TProductRow>> &productsPerNode);
// Nodes in order with their marks, each followed by the products it lists in order (ties
// on the description in key order) with their ticks.
QStringList selectionText(const TSelection &selection);

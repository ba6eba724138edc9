#pragma once
// The rewrite at the heart of the changeover: the planned departments and products move
// to the new VAT code, many rows to a statement, so that a database on another machine
// costs one round trip per chunk instead of one per row.
#include "ChangeoverPlan.h"

class TDbConnection;

// Ids one statement carries. The server takes at most 1,500 values in a list and 64 KB
// of text; this stays well under both.
constexpr int kChangeoverChunk = 500;

// Runs the updates in the connection's current transaction (started on demand). Each
// table's statement is prepared once, on its first use, and run once per chunk: a site
// without the third level never prepares the statement of a table it lacks. A department
// row already selling at the new code is left as it is, purchase code included.
void runChangeoverPlan(TDbConnection &conx, const TChangeoverPlan &plan, qint32 newVID);

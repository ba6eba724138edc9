#pragma once
// The rewrite at the heart of the changeover: the planned departments and products move
// to the new VAT code, many rows to a statement, so that a database on another machine
// costs one round trip per chunk instead of one per row.
#include "catalogue/changeover/ChangeoverPlan.h"

class TDbConnection;

// Ids one statement carries: handed over as one text of at most 12 characters per id,
// well inside the server's limits on a statement's text and its parameters.
constexpr int kChangeoverChunk = 1000;

// Runs the updates in the connection's current transaction (started on demand). Each
// table's statement is prepared once, on its first use, and run once per chunk: a site
// without the third level never prepares the statement of a table it lacks. A department
// row already selling at the new code is left as it is, purchase code included.
void runChangeoverPlan(TDbConnection &conx, const TChangeoverPlan &plan, qint32 newVID);

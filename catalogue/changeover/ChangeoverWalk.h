#pragma once
// The rewrite at the heart of the changeover: the planned departments and products move
// to the new VAT code, many rows to a statement, so that a database on another machine
// costs one round trip per chunk instead of one per row.
#include "catalogue/changeover/ChangedRow.h"
#include "catalogue/changeover/ChangeoverPlan.h"
#include "catalogue/changeover/IdChunks.h"

class TDbConnection;

// Runs the updates in the connection's current transaction (started on demand). Each
// table's statement is prepared once, on its first use, and run once per chunk: a site
// without the third level never prepares the statement of a table it lacks. A department
// row already selling at the new code is left as it is, purchase code included. Gives
// the rows whose codes changed, each read just before its update, in table order.
QList<TChangedRow> runChangeoverPlan(TDbConnection &conx, const TChangeoverPlan &plan, qint32 newVID);

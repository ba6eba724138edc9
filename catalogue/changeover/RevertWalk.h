#pragma once
// Putting back what a change record lists: each row gets its old codes again, but only
// where it still holds the codes the record gave it and its description is still the
// recorded one, so that a row changed since (by hand, or by the back office, or its id
// given to another product) is never overwritten.
#include "catalogue/changeover/ChangedRow.h"

#include <QList>
#include <QString>

class TDbConnection;
class TDbStatement;

struct TRevertWalk
{
    // Rows given their old codes back, as the revert's own record lists them: codes
    // before (the record's new ones) and after (its old ones), description as it is now.
    QList<TChangedRow> putBack;
    // Recorded rows that hold the record's old codes and description already (the run
    // never changed them, or they were put back before), as recorded.
    QList<TChangedRow> atOldCodes;
    // The other recorded rows that no longer hold the record's codes or description (or
    // are gone), as recorded.
    QList<TChangedRow> left;
};

// Before anything is put back: EPosError naming the record and the code when an old
// code of the record is no longer in TBL_VAT_CODES.
void checkRecordedCodes(TDbStatement &q1, const QList<TChangedRow> &recorded, const QString &recordPath);

// In the connection's current transaction (started on demand), many rows to a statement.
TRevertWalk runRevert(TDbConnection &conx, const QList<TChangedRow> &recorded);

#pragma once
// The changeover as it ran before the chunked updates: the department trigger off, one
// UPDATE per ticked department and per ticked product in one transaction, the trigger
// on again, each step committed on its own.
#include "catalogue/changeover/ChangeoverUpdate.h"

class TSelection;

// On an open connection; a transaction still open is committed first. Any database
// error is thrown.
void applyRowByRowChangeover(TDbConnection &conx, const TSelection &selection, qint32 newVID);

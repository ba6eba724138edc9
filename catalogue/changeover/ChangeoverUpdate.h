#pragma once
// The database part of the changeover: the department trigger switched off, the updates
// in one transaction, the trigger switched on again, each step committed on its own.
#include "catalogue/changeover/ChangeoverWalk.h"

#include <QString>

class TDbStatement;
class TSelectionStore;

// How long the update waits for a row that another program holds locked before it
// gives up; the window does not answer while it waits.
constexpr int kChangeoverLockWaitSeconds = 15;

struct TChangeoverOutcome
{
    bool changed = false; // the walk was committed
    QString failure;      // the database's message when it was rolled back instead
};

// Switching the trigger off fails with the database's error and changes nothing.
// A failing update is rolled back as a whole and reported in the outcome, never thrown.
// Switching the trigger back on fails with an error that says TAU_DEPT is still inactive
// and whether the VAT codes were changed.
TChangeoverOutcome applyChangeover(TDbConnection &conx, TDbStatement &q1, const TChangeoverPlan &plan, qint32 newVID);
// The same for the ticks of the tree's nodes and the store (planChangeover).
TChangeoverOutcome applyChangeover(TDbConnection &conx, TDbStatement &q1, const QList<TChangeoverNode> &nodes,
                                   const TSelectionStore &store, qint32 newVID);

#pragma once
// The database part of the changeover (and of its revert): the department trigger
// switched off, the updates in one transaction, the trigger switched on again, each step
// committed on its own.
#include "catalogue/changeover/ChangeoverWalk.h"

#include <QHash>
#include <QString>
#include <functional>

class TDbStatement;
class TSelection;

struct TChangeoverOutcome
{
    bool changed = false; // the walk was committed
    // The commit itself failed (the connection lost while committing): the server may
    // have committed the walk or not, and nothing here can tell which.
    bool unknown = false;
    // What the operator must read when anything went wrong, opening with whether any VAT
    // code changed; empty when nothing did.
    QString failure;
    // When changed or unknown: the rows that moved in the update's transaction, with
    // their codes before, and the rate of every code, both read in that transaction.
    QList<TChangedRow> rows;
    QHash<qint32, QString> rates;
};

// Test seam: runs just before the update's commit is sent, so that a test can cut the
// line there; an empty function removes it.
void setBeforeUpdateCommit(std::function<void()> hook);

// Never throws: a trigger that cannot be switched off changes nothing, a failing update
// is rolled back as a whole, a failing commit leaves the outcome unknown, and a trigger
// that cannot be switched back on is named as still inactive; each is told in the
// outcome.
TChangeoverOutcome applyChangeover(TDbConnection &conx, TDbStatement &q1, const TChangeoverPlan &plan, qint32 newVID);
// The same for the operator's selection (planChangeover).
TChangeoverOutcome applyChangeover(TDbConnection &conx, TDbStatement &q1, const TSelection &selection, qint32 newVID);

// The frame of every rewrite: rewrite runs in a transaction of its own, between the
// trigger switched off and on again, and gives the rows it changed. Never throws.
TChangeoverOutcome rewriteWithTriggerOff(TDbConnection &conx, TDbStatement &q1,
                                         const std::function<QList<TChangedRow>()> &rewrite);

#pragma once
// One small site for every changeover test, its selection as the window would hold
// them, and a row-by-row picture of what the changeover may change.
#include "catalogue/changeover/ChangeoverWalk.h"
#include "catalogue/core/Selection.h"
#include "tests/support/QStringPrinter.h"

#include <QString>
#include <QStringList>

class TTestDatabase;

namespace changeover {

// Codes: 1 the old 9 %, 2 the new 13.5 % (newVID), 3 a 23 % code. Site number 7.
//   Bar (dept 1) > Beer (sub 10) > Lager (third level 100); Bar > Wine (sub 11);
//   Kitchen (dept 2) sells at the new code already but buys at the old one.
//   Products: 11 Stout (Beer), 12 Pils (Lager), 13 Nuts (Bar), 14 Merlot (Wine),
//   21 Soup (Kitchen), 0 Zero (Bar).
constexpr qint32 kNewVID = 2;
constexpr qint32 kSiteID = 7;
QStringList siteSql();

// The tree in display order: Bar, Beer, Lager, Wine, Kitchen.
enum Node { Bar, Beer, Lager, Wine, Kitchen };
// Every product listed under every node, as the tree build seeds the selection, with the
// given nodes marked (their marks alone: no product ticked); the nodes left out are not
// in the tree.
TSelection seededSelection(const QList<Node> &marked = {}, const QList<Node> &leftOut = {});
// Sets the tick of the product of that number, under every node that lists it.
void setProductTick(TSelection &selection, qint32 sid, bool ticked = true);

// Every row the changeover may touch, one line each: "D1 1/1" department 1 selling at 1
// and buying at 1, "S10 1/1", "T100 1/1", "P11 1"; ordered by table and id.
QStringList rows(const QString &databasePath);
// The site's rows as created.
QStringList baselineRows();
// The baseline with the given lines replacing those for the same row.
QStringList baselineWith(const QStringList &changed);

// Whether TAU_DEPT is active, and how many rows it has logged.
bool departmentTriggerActive(const QString &databasePath);
int departmentLogRows(const QString &databasePath);

} // namespace changeover

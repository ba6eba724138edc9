#pragma once
// Settling, on an open connection, the VAT codes the changeover rests on: the old 9 %
// codes (type 5), the new 13.5 % code (type 3, created when missing), the site number
// and whether the third department level exists.
#include <QList>
#include <QString>
#include <QtGlobal>

class TDbConnection;
class TDbStatement;

struct TVatResolution
{
    qint32 siteID = 0;
    qint32 newVID = 0;
    bool v62Plus = false;
    // Every active code of VAT type 5, by id: a site may hold more than one, and rows on
    // any of them sell at 9 %. Without an active one, the one inactive code the site has
    // (the first, active flag descending). Empty when the database has no code of type 5:
    // then there is nothing to change.
    QList<qint32> oldVIDs;
    bool hasOldCode() const { return !oldVIDs.isEmpty(); }
};

// What the operator reads when the database has no 9 % code.
extern const QString kNoOldCodeText;

// On an open connection: first the check of every table and column the program needs
// (checkNeededColumns), which fails before anything is written; then site number, the
// old codes, and only when there is one the new code (inserted when no type-3 code
// covers the changeover date, committed at once, retaining): a database without a 9 %
// code is left as it is.
TVatResolution resolveVatCodes(TDbConnection &conx, TDbStatement &q1);

#pragma once
// One integer read from a query that gives at most the one wanted row.
#include <QString>
#include <QtGlobal>

class TDbStatement;

// Opens the statement (its text and parameters set) and gives the first row's column as
// an integer; no row or null reads as 0. The statement is closed again.
qint32 firstRowInteger(TDbStatement &q, const QString &column);

#pragma once
// Whether a database file that the site generator did not make is one the program
// can work on, before registry hives are written for it.
#include <QString>
#include <QStringList>

// The tables the program reads and changes; a database without them is not a till
// database of the back office.
QStringList siteTables();

// Throws EPosError saying what is wrong when the file is missing, is no Firebird
// database the embedded engine opens (with the program's login), or lacks tables of
// siteTables(). Leaves the file exactly as it was.
void checkSiteDatabase(const QString &file);

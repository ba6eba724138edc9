#pragma once
// Opening the one database connection and settling the VAT codes the changeover
// rests on: the old 9 % code (type 5), the new 13.5 % code (type 3, created when
// missing), the site number and whether the third department level exists.
#include <QString>
#include <QtGlobal>

class TDbConnection;
class TDbStatement;

struct TVatResolution
{
    qint32 siteID = 0;
    qint32 newVID = 0;
    bool v62Plus = false;
    qint32 oldVID = 0;
};

// Opens conx on the server path of the database the back office used last, then
// resolves the codes as below. Database errors are not caught.
TVatResolution connectAndResolve(TDbConnection &conx, TDbStatement &q1);

// On an open connection: site number, the new code (inserted when no type-3 code covers
// the changeover date, committed at once, retaining), the third level, the old code.
TVatResolution resolveVatCodes(TDbConnection &conx, TDbStatement &q1);

// The first row's first column of "select <resultField> from <table> where <keyField> =
// :<keyField>", as text: numbers in the user's number form ("13,5" where the decimal
// separator is a comma), empty when there is no row or the value is null.
// The statement text is traced at debug level 32.
QString lookupField(TDbStatement &statement, const QString &table, const QString &keyField,
                    qint32 keyValue, const QString &resultField);

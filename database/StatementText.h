#pragma once
// Setting a statement's text without losing its prepared form.
#include <QString>

class TDbStatement;

// Closes the statement and gives it the text. The same text as before keeps the
// statement prepared (and its parameter slots), so a statement run once per row is
// prepared once; a new text drops the old prepared form.
void useStatementText(TDbStatement &statement, const QString &sql);

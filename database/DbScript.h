#pragma once
// Runs an SQL script, statement by statement, on an open connection.
#include <QString>

class TDbConnection;

// Statements split at the terminator (SET TERM changes it). Definitions are committed
// as they run, so that later statements can use them; COMMIT commits; SET NAMES and
// SET SQL DIALECT are passed over (the connection already speaks UTF8, dialect 3).
// What is left uncommitted at the end is committed. A failing statement throws EPosError.
void runSqlScript(TDbConnection &connection, const QString &script);

#pragma once
// Ending a transaction that failed, whatever became of the connection.
class TDbConnection;

// Undoes the connection's transaction. When even that fails the connection is gone, and
// the server undoes an unfinished transaction of a lost connection by itself; the handles
// are given up so that a new attachment can still be made.
void rollBackOrLetGo(TDbConnection &conx);

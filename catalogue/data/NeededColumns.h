#pragma once
// The tables and columns the program reads and writes, checked before it writes anything:
// a database that lacks one is refused as it is, not after the new VAT code was added to
// it and the first read failed.
class TDbStatement;

// On the caller's statement, in its connection's current transaction (started on demand). Fails with
// EPosError naming every table and column the database lacks; the sub-department and
// third-level tables, and the products' third-level column, count only when the database
// has the third level (TBL_L3DEPARTMENTS as a table: a view of that name is none). Gives
// whether it has.
bool checkNeededColumns(TDbStatement &q1);

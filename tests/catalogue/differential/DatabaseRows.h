#pragma once
// A whole database as text lines, for telling whether two databases ended up alike:
// every row of every table in primary key order with all its columns, the state of every
// trigger and the value of every generator. The department log's time of change is left
// out, as no two runs share it.
#include <QStringList>

QStringList databaseRows(const QString &databasePath);

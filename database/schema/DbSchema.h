#pragma once
// The SQL script (sql/schema.sql) that builds the tables, generator and trigger the program uses.
#include <QString>

QString DbSchemaScript();

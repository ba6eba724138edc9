#pragma once
// Where one output column sits in a row buffer and how to read it.
#include <QString>

struct TDbColumn
{
    QString name;      // the column's alias, as the query names it
    unsigned type = 0; // SQL_* type without the nullable bit
    int subType = 0;
    int scale = 0;
    unsigned length = 0;
    unsigned charSet = 0;
    unsigned offset = 0;
    unsigned nullOffset = 0;
};

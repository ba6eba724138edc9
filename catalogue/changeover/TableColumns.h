#pragma once
// The tables and columns that a changeover rewrites and a revert puts back.
#include "catalogue/changeover/ChangedRow.h"

// Where a table keeps what the changeover rewrites.
struct TTableColumns
{
    TChangedTable table;
    const char *name;
    const char *id;
    const char *sales;
    const char *purchase; // null for products, which have no purchase code
};
const TTableColumns &tableColumns(TChangedTable table);
// "type of column <table>.<column>", for the variables of a block.
QString columnType(const TTableColumns &t, const char *column);

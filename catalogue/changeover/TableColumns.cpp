#include "catalogue/changeover/TableColumns.h"

const TTableColumns &tableColumns(TChangedTable table)
{
    static const TTableColumns kColumns[] = {
        {TChangedTable::Department, "TBL_DEPARTMENTS", "DEPT_ID", "VAT_ID", "PURCH_VAT"},
        {TChangedTable::SubDepartment, "TBL_SUB_DEPARTMENTS", "SUB_DEPT", "SALES_VID", "PURCH_VID"},
        {TChangedTable::ThirdLevel, "TBL_L3DEPARTMENTS", "L3DID", "SALES_VID", "PURCH_VID"},
        {TChangedTable::Product, "TBL_PRODUCTS", "SID", "VAT_ID", nullptr},
    };
    return kColumns[int(table)];
}

QString columnType(const TTableColumns &t, const char *column)
{
    return QStringLiteral("type of column %1.%2").arg(QLatin1String(t.name), QLatin1String(column));
}

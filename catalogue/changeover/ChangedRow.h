#pragma once
// One row that a changeover or a revert moved from one VAT code to another, as its
// change record holds it.
#include <QString>
#include <QtGlobal>
#include <optional>

enum class TChangedTable { Department, SubDepartment, ThirdLevel, Product };

struct TChangedRow
{
    TChangedTable table = TChangedTable::Product;
    qint32 id = 0;
    QString description;
    // Codes before and after; none stands for a null column. Only department tables
    // have a purchase code: for products both purchase codes are none.
    std::optional<qint32> oldSales;
    std::optional<qint32> oldPurchase;
    std::optional<qint32> newSales;
    std::optional<qint32> newPurchase;
    // Read from a record that wrote line breaks as spaces and kept the apostrophe before a
    // formula: the description is the text so written, not the text itself.
    bool descriptionFolded = false;

    bool operator==(const TChangedRow &other) const
    {
        return table == other.table && id == other.id && description == other.description && oldSales == other.oldSales
            && oldPurchase == other.oldPurchase && newSales == other.newSales && newPurchase == other.newPurchase
            && descriptionFolded == other.descriptionFolded;
    }
};

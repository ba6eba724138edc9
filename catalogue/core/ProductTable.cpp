#include "catalogue/core/ProductTable.h"

#include "catalogue/core/SectionNames.h"
#include "catalogue/core/SelectionStore.h"
#include "catalogue/core/ShownName.h"
#include "util/uUtils.h"

TProductTable::TProductTable(QObject *parent) : QAbstractTableModel(parent)
{
}

QString TProductTable::fieldName(int column)
{
    switch (column) {
    case PRODUCT:
        return QStringLiteral("PRODUCT");
    case SKU:
        return QStringLiteral("SKU");
    case CHECKED:
        return QStringLiteral("CHECKED");
    case FULLKEY:
        return QStringLiteral("FULLKEY");
    default:
        return QString();
    }
}

void TProductTable::loadSection(const TSelectionStore &store, const QString &section)
{
    beginResetModel();
    fRows.clear();
    const QStringList keys = store.keys(section);
    fRows.reserve(keys.size());
    for (const QString &key : keys) {
        Row row;
        const QString description = productDescriptionOfKey(key);
        row.product = description.left(kProductWidth);
        row.descriptionMissing = description.isNull();
        row.sku = productSidOfKey(key).value_or(0); // a key that names no number shows 0
        row.checked = store.read(section, key, QStringLiteral("N")).left(1);
        row.fullKey = key;
        fRows.append(row);
    }
    endResetModel();
}

QString TProductTable::toggle(int row, TSelectionStore &store)
{
    if (row < 0 || row >= fRows.size())
        return QString();
    Row &r = fRows[row];
    r.checked = BoolToYN(!YNToBool(r.checked));
    const QModelIndex changed = index(row, CHECKED);
    emit dataChanged(changed, changed);
    store.setInAllSections(r.fullKey, store.sections(), r.checked);
    return r.checked;
}

QString TProductTable::product(int row) const
{
    return fRows.value(row).product;
}
qint32 TProductTable::sku(int row) const
{
    return fRows.value(row).sku;
}
QString TProductTable::checked(int row) const
{
    return fRows.value(row).checked;
}
QString TProductTable::fullKey(int row) const
{
    return fRows.value(row).fullKey;
}

int TProductTable::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(fRows.size());
}

int TProductTable::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : FieldCount;
}

QVariant TProductTable::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= fRows.size())
        return QVariant();
    const Row &r = fRows.at(index.row());
    if (role == Qt::ToolTipRole) {
        const QString shown = r.descriptionMissing ? missingName() : isolatedName(productDescriptionOfKey(r.fullKey));
        return shown + QStringLiteral("\nProduct ") + QString::number(r.sku);
    }
    if (role == kNameMissingRole && index.column() == PRODUCT)
        return r.descriptionMissing;
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return QVariant();
    switch (index.column()) {
    case PRODUCT:
        // Shown whole, so that the grid's column ends a long one in an ellipsis
        // rather than in the middle of a word; the field keeps its width.
        if (role == Qt::EditRole)
            return r.product;
        return r.descriptionMissing ? missingName() : productDescriptionOfKey(r.fullKey);
    case SKU:
        return r.sku;
    case CHECKED:
        return r.checked;
    case FULLKEY:
        return r.fullKey;
    default:
        return QVariant();
    }
}

QVariant TProductTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return fieldName(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

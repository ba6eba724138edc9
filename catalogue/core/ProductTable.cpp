#include "catalogue/core/ProductTable.h"

#include "catalogue/core/Selection.h"
#include "catalogue/core/ShownName.h"
#include "util/uUtils.h"

namespace {

// The product's number, "_" and its description as stored; the number alone when the
// database holds no description, so that it stays apart from an empty one.
QString fullKeyText(const TProductRow &product)
{
    if (product.description.isNull())
        return QString::number(product.sid);
    return QString::number(product.sid) + QLatin1Char('_') + product.description;
}

} // namespace

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

void TProductTable::loadNode(const TSelection &selection, int node)
{
    beginResetModel();
    fRows.clear();
    if (node >= 0 && node < selection.nodeCount()) {
        const QList<int> &products = selection.productsOf(node);
        fRows.reserve(products.size());
        for (int index : products) {
            const TProductRow &product = selection.product(index);
            Row row;
            row.product = product.description.left(kProductWidth);
            row.sku = product.sid;
            row.checked = BoolToYN(selection.isTicked(index));
            row.fullKey = fullKeyText(product);
            row.description = product.description;
            row.descriptionMissing = product.description.isNull();
            row.selectionProduct = index;
            fRows.append(row);
        }
    }
    endResetModel();
}

QString TProductTable::toggle(int row, TSelection &selection)
{
    if (row < 0 || row >= fRows.size())
        return QString();
    Row &r = fRows[row];
    r.checked = BoolToYN(selection.toggleProduct(r.selectionProduct));
    const QModelIndex changed = index(row, CHECKED);
    emit dataChanged(changed, changed);
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
        const QString shown = r.descriptionMissing ? missingName() : isolatedName(r.description);
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
        return r.descriptionMissing ? missingName() : r.description;
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

#pragma once
// The product table: the products one tree node lists in the selection, with the fields
// PRODUCT, SKU, CHECKED and FULLKEY in that order. It holds no data of its own; every
// rebuild reads the node's products afresh and every toggle goes straight to the
// selection.
// Every cell's tooltip gives the whole description and the number, as the list cuts
// descriptions to 30 columns and two products may then look the same; the description
// is set apart there (isolatedName), and a missing one is named as such (missingName,
// and kNameMissingRole on the PRODUCT cell).
#include <QAbstractTableModel>
#include <QStringList>

class TSelection;

class TProductTable : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Field { PRODUCT, SKU, CHECKED, FULLKEY, FieldCount };
    static constexpr int kProductWidth = 30;

    explicit TProductTable(QObject *parent = nullptr);

    static QString fieldName(int column);

    // Recreates the table with one row per product the node lists, in the node's order;
    // no node (-1) gives no rows.
    void loadNode(const TSelection &selection, int node);
    // Flips the row's product in the selection, under every node that lists it. Gives the
    // new value, "Y" or "N"; nothing for a row that does not exist.
    QString toggle(int row, TSelection &selection);

    QString product(int row) const;
    qint32 sku(int row) const;
    QString checked(int row) const;
    QString fullKey(int row) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    struct Row
    {
        QString product;
        qint32 sku = 0;
        QString checked;
        QString fullKey;
        QString description; // whole, as stored
        // The database holds no description (NULL): shown as missingName(), the field
        // PRODUCT empty.
        bool descriptionMissing = false;
        int selectionProduct = 0; // the product's index in the selection
    };
    QList<Row> fRows;
};

#pragma once
// The product table: the rows of one tree node's section of the selection store, with
// the fields PRODUCT, SKU, CHECKED and FULLKEY in that order. It holds no data of its
// own; every rebuild reads the section afresh and every toggle writes straight back.
// Every cell's tooltip gives the whole description and the number, as the list cuts
// descriptions to 30 columns and two products may then look the same; the description
// is set apart there (isolatedName), and a missing one is named as such (missingName,
// and kNameMissingRole on the PRODUCT cell).
#include <QAbstractTableModel>
#include <QStringList>

class TSelectionStore;

class TProductTable : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Field { PRODUCT, SKU, CHECKED, FULLKEY, FieldCount };
    static constexpr int kProductWidth = 30;

    explicit TProductTable(QObject *parent = nullptr);

    static QString fieldName(int column);

    // Recreates the table with one row per key of the section, in the section's order.
    void loadSection(const TSelectionStore &store, const QString &section);
    // Flips the row's tick and writes the new value into every section of the store that
    // lists the product. Gives the new value.
    QString toggle(int row, TSelectionStore &store);

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
        QString fullKey; // the whole store key: a cut key would find no section
        // The database holds no description (NULL): shown as missingName(), the field
        // PRODUCT empty.
        bool descriptionMissing = false;
    };
    QList<Row> fRows;
};

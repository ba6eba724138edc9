// The product list: the products of one node of the selection in the grid, and the tick
// toggle.
#include "catalogue/window/TfmMain.h"

#include "catalogue/core/ProductTable.h"
#include "catalogue/core/Selection.h"
#include "catalogue/core/ShownName.h"
#include "catalogue/window/DepartmentNodes.h"
#include "catalogue/window/ImageDelegate.h"
#include "catalogue/window/NameDelegate.h"
#include "catalogue/window/StateImages.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QTreeWidget>

namespace {
const QString kNoProductsTitle = QStringLiteral("   Products");
}

void TfmMain::setUpGrid()
{
    cds = new TProductTable(this);
    lb->setModel(cds);
    auto *ticks = new TImageDelegate(
        il, [](const QModelIndex &index) { return tickImageIndex(index.data().toString()); }, TImageDelegate::Centred,
        lb);
    lb->setItemDelegateForColumn(TProductTable::CHECKED, ticks);
    lb->setItemDelegateForColumn(TProductTable::PRODUCT, new TNameDelegate(lb));
    lb->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lb->setSelectionBehavior(QAbstractItemView::SelectRows);
    lb->setSelectionMode(QAbstractItemView::SingleSelection);
    // One line a product: a long description ends in an ellipsis instead of being cut
    // mid-word by the row's height; the tooltip gives it whole.
    lb->setWordWrap(false);
    // The header's own minimum would widen the 24-pixel tick column.
    lb->horizontalHeader()->setMinimumSectionSize(kTickColumnWidth);
    // A reset of the table gives the header fresh sections: lay the columns out again.
    connect(cds, &QAbstractItemModel::modelReset, this, &TfmMain::layOutGridColumns);
    layOutGridColumns();
    connect(lb, &QAbstractItemView::clicked, this, &TfmMain::lbCellClick);
}

// The tick column first, then the product; SKU and FULLKEY are data only.
void TfmMain::layOutGridColumns()
{
    QHeaderView *header = lb->horizontalHeader();
    header->moveSection(header->visualIndex(TProductTable::CHECKED), 0);
    header->moveSection(header->visualIndex(TProductTable::PRODUCT), 1);
    lb->setColumnHidden(TProductTable::SKU, true);
    lb->setColumnHidden(TProductTable::FULLKEY, true);
    lb->setColumnWidth(TProductTable::CHECKED, kTickColumnWidth);
    // The description takes the rest of the pane, however wide the splitter makes it.
    header->setSectionResizeMode(TProductTable::PRODUCT, QHeaderView::Stretch);
}

void TfmMain::useButtonFaceForActiveRow()
{
    const QPalette style = QApplication::palette();
    QPalette palette = lb->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight, style.color(group, QPalette::Button));
        palette.setColor(group, QPalette::HighlightedText, style.color(group, QPalette::ButtonText));
    }
    lb->setPalette(palette);
}

void TfmMain::tvChange(QTreeWidget *, QTreeWidgetItem *node)
{
    if (!node) {
        pn02->setText(kNoProductsTitle);
        return;
    }
    // The title band is a plain-text label without a buddy: an "&" in the caption
    // shows as it is, so it is not doubled here (doubled, it would show twice).
    // The name set apart, so that right-to-left text in it leaves the rate and "Products" be.
    pn02->setText(QStringLiteral("   ") + captionWithIsolatedName(node->text(0)) + QStringLiteral(" Products"));

    cds->loadNode(*fSelection, selectionNode(node));
    if (cds->rowCount() > 0)
        lb->setCurrentIndex(cds->index(0, TProductTable::PRODUCT));
}

void TfmMain::lbCellClick(const QModelIndex &cell)
{
    if (!cell.isValid() || TProductTable::fieldName(cell.column()) != QLatin1String("CHECKED"))
        return;
    cds->toggle(cell.row(), *fSelection);
}

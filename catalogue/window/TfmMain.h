#pragma once
// The main window: the frame's controls filled with the point-of-sale database's
// departments at the old 9 % code and their products, with the operator's ticks.
// Its work is split by concern: the show sequence and tree build, the product list,
// the check marks.
#include "app/StartSequence.h"
#include "catalogue/window/TfmMainFrame.h"

#include "database/DbConnection.h"
#include "database/DbStatement.h"

#include <QList>
#include <QPixmap>
#include <memory>
#include <vector>

class QModelIndex;
class QTreeWidgetItem;
struct TShowNode;
class TImageDelegate;
class TProductTable;
class TSelection;

class TfmMain : public TfmMainFrame, public TExitStatusWindow
{
    Q_OBJECT
public:
    explicit TfmMain(QWidget *parent = nullptr);
    ~TfmMain() override;

    // What the window shows and holds, for the program's own checks and its tests.
    QTreeWidget *departmentTree() const { return tv; }
    QTableView *productGrid() const { return lb; }
    QString productsTitle() const;
    TProductTable *productTable() const { return cds; }
    const TSelection &selection() const { return *fSelection; }
    TSelection &selection() { return *fSelection; }
    // The selection's node for a tree node; -1 for none.
    int selectionNode(const QTreeWidgetItem *node) const;
    // The node's mark as its state image shows it: nmTicked or nmUnticked.
    int nodeMark(const QTreeWidgetItem *node) const;
    qint32 siteID() const { return fSiteID; }
    qint32 newVatID() const { return newVID; }
    bool hasThirdLevel() const { return v62Plus; }
    // Where a node's state image is drawn, in the tree's viewport.
    QRect stateImageRect(QTreeWidgetItem *node) const;

    // 1 once a changeover failed and closed the window, else 0.
    int exitStatus() const override { return fExitStatus; }

protected:
    // The show sequence: connect, resolve the VAT codes, build the tree behind the splash.
    void FormShow() override;
    // The changeover run (TfmMainProceed.cpp).
    void ProceedClick() override;

    // Handlers, named after their control and event.
    void tvChange(QTreeWidget *sender, QTreeWidgetItem *node);
    void tvClick(const QPoint &viewportPos);
    void lbCellClick(const QModelIndex &cell);

    bool eventFilter(QObject *watched, QEvent *event) override;

    TDbConnection conx;
    TDbStatement q1{conx};
    TProductTable *cds = nullptr;
    QList<QPixmap> il;

    qint32 fSiteID = 0;
    qint32 newVID = 0;
    bool v62Plus = false;

private:
    void FormCreate();
    void setUpTree();
    void setUpGrid();
    void layOutGridColumns();
    void useButtonFaceForActiveRow();

    // The image of a selection node's mark; nmUnticked for no node (-1).
    int markOf(int selectionNode) const;

    void showDatabase();
    void buildTree(const std::vector<TShowNode> &shown);
    void selectFirstNode();

    // Why Proceed must refuse: the show sequence failed, or there is no 9 % code.
    QString fRefusal;
    std::unique_ptr<TSelection> fSelection;
    TImageDelegate *fStateImages = nullptr;
    bool fAfterDoubleClick = false;
    int fExitStatus = 0;
};

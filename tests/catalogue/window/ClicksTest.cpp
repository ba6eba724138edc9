// Clicks where a person clicks: on a node's state image or caption, on the grid's tick
// or product column, and the keyboard, which never changes a mark or a tick.
#include "catalogue/core/ProductTable.h"
#include "catalogue/window/DepartmentNodes.h"
#include "tests/catalogue/SelectionKeys.h"
#include "tests/catalogue/window/MainWindowFixture.h"
#include "tests/support/QStringPrinter.h"
#include "tests/support/SiteSql.h"

#include <QTableView>
#include <QTest>
#include <QTreeWidget>

using namespace site;

namespace {

// Bar (1) > Beer (10) > Lager (100); Bar also holds Nuts directly and Kitchen (2) is apart.
const QStringList kSite = {vat(1, "9", 5),
                           vat(2, "13.5", 3),
                           dept(1, "Bar", 1),
                           sub(10, 1, "Beer", 1),
                           l3(100, 10, "Lager", 1),
                           product(11, "Stout", 1, 1, 10),
                           product(12, "Pils", 1, 1, 10, 100),
                           product(13, "Nuts", 1, 1),
                           dept(2, "Kitchen", 1),
                           product(21, "Soup", 1, 2)};

class Clicks : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        fDb = std::make_unique<TTestDatabase>(kSite);
        showOn(*fDb);
        ASSERT_EQ(fWindow->error, QString());
        tv = fWindow->departmentTree();
        lb = fWindow->productGrid();
        tv->expandAll();
        bar = tv->topLevelItem(0);
        beer = bar->child(0);
        lager = beer->child(0);
        kitchen = tv->topLevelItem(1);
    }

    void clickStateImage(QTreeWidgetItem *node)
    {
        QTest::mouseClick(tv->viewport(), Qt::LeftButton, {}, fWindow->stateImageRect(node).center());
    }
    void clickCaption(QTreeWidgetItem *node)
    {
        const QRect image = fWindow->stateImageRect(node);
        QTest::mouseClick(tv->viewport(), Qt::LeftButton, {}, QPoint(image.right() + 30, image.center().y()));
    }
    void clickGrid(int row, int column)
    {
        const QRect cell = lb->visualRect(fWindow->productTable()->index(row, column));
        ASSERT_TRUE(cell.isValid());
        QTest::mouseClick(lb->viewport(), Qt::LeftButton, {}, cell.center());
    }
    QString tick(QTreeWidgetItem *node, const QString &key) const
    {
        return tickUnder(fWindow->selection(), fWindow->selectionNode(node), key);
    }
    QList<int> marks() const
    {
        return {fWindow->nodeMark(bar), fWindow->nodeMark(beer), fWindow->nodeMark(lager), fWindow->nodeMark(kitchen)};
    }

    std::unique_ptr<TTestDatabase> fDb;
    QTreeWidget *tv = nullptr;
    QTableView *lb = nullptr;
    QTreeWidgetItem *bar = nullptr, *beer = nullptr, *lager = nullptr, *kitchen = nullptr;
};

TEST_F(Clicks, CaptionSelectsWithoutChangingAMark)
{
    clickCaption(beer);
    EXPECT_EQ(tv->currentItem(), beer);
    EXPECT_EQ(marks(), QList<int>({1, 1, 1, 1}));
    EXPECT_EQ(fWindow->productTable()->rowCount(), 2);
}

// The expand button sits just left of the state image, in the indentation.
TEST_F(Clicks, ExpandButtonFoldsWithoutChangingAMark)
{
    const QRect row = tv->visualItemRect(beer);
    QTest::mouseClick(tv->viewport(), Qt::LeftButton, {}, QPoint(row.left() - tv->indentation() / 2, row.center().y()));
    EXPECT_FALSE(beer->isExpanded());
    EXPECT_EQ(marks(), QList<int>({1, 1, 1, 1}));
    EXPECT_EQ(tick(beer, "11_Stout"), QStringLiteral("N"));
}

TEST_F(Clicks, TickingADepartmentTicksEverythingBelowIt)
{
    clickStateImage(bar);
    EXPECT_EQ(marks(), QList<int>({2, 2, 2, 1}));
    for (const char *key : {"11_Stout", "12_Pils", "13_Nuts"})
        EXPECT_EQ(tick(bar, key), QStringLiteral("Y")) << key;
    EXPECT_EQ(tick(beer, "11_Stout"), QStringLiteral("Y"));
    EXPECT_EQ(tick(lager, "12_Pils"), QStringLiteral("Y"));
    EXPECT_EQ(tick(kitchen, "21_Soup"), QStringLiteral("N"));
    // The list shows the ticked node's products, ticked.
    EXPECT_EQ(tv->currentItem(), bar);
    EXPECT_EQ(fWindow->productTable()->checked(0), QStringLiteral("Y"));

    // Unticking the node leaves the products and the descendants as they are.
    clickStateImage(bar);
    EXPECT_EQ(marks(), QList<int>({1, 2, 2, 1}));
    EXPECT_EQ(tick(beer, "11_Stout"), QStringLiteral("Y"));
}

TEST_F(Clicks, TickingASubDepartmentLeavesItsDepartmentAlone)
{
    clickStateImage(beer);
    EXPECT_EQ(marks(), QList<int>({1, 2, 2, 1}));
    EXPECT_EQ(tick(bar, "11_Stout"), QStringLiteral("Y")); // the same product under the department
    EXPECT_EQ(tick(bar, "13_Nuts"), QStringLiteral("N"));  // outside the sub-department
}

TEST_F(Clicks, ProductUntickedUnderASubDepartmentIsUntickedEverywhere)
{
    clickStateImage(bar);
    clickCaption(beer);
    const int stout = fWindow->productTable()->fullKey(0) == "12_Pils" ? 1 : 0;
    ASSERT_EQ(fWindow->productTable()->fullKey(stout), QStringLiteral("11_Stout"));

    clickGrid(stout, TProductTable::PRODUCT); // the product column only moves the row
    EXPECT_EQ(lb->currentIndex().row(), stout);
    EXPECT_EQ(tick(beer, "11_Stout"), QStringLiteral("Y"));

    clickGrid(stout, TProductTable::CHECKED);
    EXPECT_EQ(fWindow->productTable()->checked(stout), QStringLiteral("N"));
    EXPECT_EQ(tick(beer, "11_Stout"), QStringLiteral("N"));
    EXPECT_EQ(tick(bar, "11_Stout"), QStringLiteral("N"));
    EXPECT_EQ(marks(), QList<int>({2, 2, 2, 1})); // marks do not follow ticks

    clickCaption(bar);
    EXPECT_EQ(fWindow->productTable()->checked(fWindow->productTable()->fullKey(0) == "11_Stout" ? 0 : 2),
              QStringLiteral("N"));

    // Ticking the node again sets the unticked product back to "Y".
    clickStateImage(bar); // unticks the node
    clickStateImage(bar); // ticks it again
    EXPECT_EQ(tick(beer, "11_Stout"), QStringLiteral("Y"));
}

TEST_F(Clicks, KeyboardAndDoubleClickNeverFlipAMarkTwice)
{
    tv->setFocus();
    tv->setCurrentItem(beer);
    QTest::keyClick(tv, Qt::Key_Space);
    QTest::keyClick(tv, Qt::Key_Return);
    EXPECT_EQ(marks(), QList<int>({1, 1, 1, 1}));

    clickCaption(kitchen);
    lb->setFocus();
    QTest::keyClick(lb, Qt::Key_Space);
    EXPECT_EQ(tick(kitchen, "21_Soup"), QStringLiteral("N"));

    // A double click on the image counts once, as the tree control reports it. It goes
    // in as the system's mouse input does, through the window.
    const QPoint image = tv->viewport()->mapTo(fWindow.get(), fWindow->stateImageRect(kitchen).center());
    QTest::mouseDClick(fWindow->windowHandle(), Qt::LeftButton, {}, image);
    EXPECT_EQ(fWindow->nodeMark(kitchen), 2);
    EXPECT_EQ(tick(kitchen, "21_Soup"), QStringLiteral("Y"));
}

TEST_F(Clicks, NodeWithoutProductsIsStillMarkedWithItsDescendants)
{
    TTestDatabase empty({vat(1, "9", 5), vat(2, "13.5", 3), dept(1, "Bar", 1), sub(10, 1, "Beer", 1)});
    TShownMain &w = showOn(empty);
    QTreeWidget *tree = w.departmentTree();
    tree->expandAll();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, w.stateImageRect(tree->topLevelItem(0)).center());
    EXPECT_EQ(w.nodeMark(tree->topLevelItem(0)), 2);
    EXPECT_EQ(w.nodeMark(tree->topLevelItem(0)->child(0)), 2);
    EXPECT_EQ(w.productTable()->rowCount(), 0);
}

TEST_F(MainWindowTest, LargeIdsAreTickedApart)
{
    // Sub-department 100012 and third-level department 12 would share one section if
    // sections were numbered level x 100000 + id: ticking Gin would tick Vodka too.
    TTestDatabase db({vat(1, "9", 5), vat(2, "13.5", 3), dept(1, "Bar", 1), sub(100012, 1, "Spirits", 1),
                      l3(12, 100012, "Gin", 1), product(1, "Dry gin", 1, 1, 100012, 12),
                      product(2, "Vodka", 1, 1, 100012)});
    TShownMain &w = showOn(db);
    QTreeWidget *tree = w.departmentTree();
    tree->expandAll();
    QTreeWidgetItem *spirits = tree->topLevelItem(0)->child(0);
    QTreeWidgetItem *gin = spirits->child(0);
    ASSERT_EQ(nodeId(spirits), 100012);

    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, w.stateImageRect(gin).center());
    EXPECT_EQ(w.nodeMark(gin), 2);
    EXPECT_EQ(w.nodeMark(spirits), 1);
    EXPECT_EQ(tickUnder(w.selection(), w.selectionNode(spirits), "1_Dry gin"), QStringLiteral("Y"));
    EXPECT_EQ(tickUnder(w.selection(), w.selectionNode(spirits), "2_Vodka"), QStringLiteral("N"));
    EXPECT_EQ(w.productTable()->rowCount(), 1);
}

} // namespace

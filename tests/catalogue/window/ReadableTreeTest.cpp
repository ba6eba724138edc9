// The tree read at a glance: the rates of nodes at every depth end in one column at any
// width of the pane, and hovering names a department or a product in full.
#include "catalogue/core/ProductTable.h"
#include "catalogue/core/ShownName.h"
#include "tests/catalogue/window/MainWindowFixture.h"
#include "tests/support/LocaleGuard.h"
#include "tests/support/QStringPrinter.h"
#include "tests/support/SiteSql.h"

#include <QApplication>
#include <QHelpEvent>
#include <QSplitter>
#include <QTableView>
#include <QTest>
#include <QToolTip>
#include <QTreeWidget>
#include <optional>

using namespace site;

namespace {

const QString kBreakfasts = QStringLiteral("Traditional Irish Breakfasts");
const QString kSauces = QStringLiteral("Sauces and dips for every table");
const QString kFishAndChips = QStringLiteral("Fish & Chips (large portion) with mushy peas");

// A department with a sub-department and a third-level department, all at the old 9 %,
// with descriptions short and cut; and one at 13.50 % listed for a product of its own.
QStringList depthsSite()
{
    return {vat(1, "9", 5),
            vat(2, "13.5", 3),
            dept(1, "Bar", 1),
            sub(10, 1, kBreakfasts, 1),
            l3(100, 10, kSauces, 1),
            dept(2, "Wines", 2),
            product(1234, kFishAndChips, 1, 1, 10, 100),
            product(2, "House red", 1, 2)};
}

// The rightmost pixel column of the row that differs from the background at the row's
// right end: where the row's text ends.
int inkRight(const QImage &image, const QRect &itemRect)
{
    const QRect row = itemRect.intersected(image.rect());
    const QRgb background = image.pixel(row.right(), row.center().y());
    for (int x = row.right(); x >= row.left(); --x)
        for (int y = row.top(); y <= row.bottom(); ++y)
            if (image.pixel(x, y) != background)
                return x;
    return -1;
}

// The tooltip the view shows when the mouse rests on the point of its viewport.
QString hoverToolTip(QAbstractItemView *view, const QPoint &point)
{
    QToolTip::hideText();
    QHelpEvent help(QEvent::ToolTip, point, view->viewport()->mapToGlobal(point));
    QApplication::sendEvent(view->viewport(), &help);
    const QString text = QToolTip::isVisible() ? QToolTip::text() : QString();
    QToolTip::hideText();
    return text;
}

TEST_F(MainWindowTest, RatesOfEveryDepthEndInOneColumnAtAnyPaneWidth)
{
    LocaleGuard locale(englishLocale());
    TTestDatabase db(depthsSite());
    TShownMain &w = showOn(db);
    ASSERT_EQ(w.error, QString());

    QTreeWidget *tv = w.departmentTree();
    ASSERT_EQ(tv->topLevelItemCount(), 2);
    tv->expandAll();
    QTreeWidgetItem *bar = tv->topLevelItem(0);
    QTreeWidgetItem *breakfasts = bar->child(0);
    QTreeWidgetItem *sauces = breakfasts->child(0);
    QTreeWidgetItem *wines = tv->topLevelItem(1);
    ASSERT_EQ(sauces->text(0), QStringLiteral("Sauces and dips for      9.00%"));
    ASSERT_EQ(wines->text(0), QStringLiteral("Wines                   13.50%"));
    // No highlight: every row's background is the same.
    tv->setCurrentItem(nullptr);
    tv->clearSelection();

    auto *splitter = w.findChild<QSplitter *>();
    ASSERT_NE(splitter, nullptr);
    const int both = splitter->sizes().value(0) + splitter->sizes().value(1);
    for (int paneWidth : {180, 320, 560}) {
        SCOPED_TRACE(paneWidth);
        splitter->setSizes({paneWidth, both - paneWidth});
        ASSERT_TRUE(QTest::qWaitFor([&] { return tv->columnWidth(0) == tv->viewport()->width(); }));
        const QImage shot = tv->viewport()->grab().toImage();

        const int barEnd = inkRight(shot, tv->visualItemRect(bar));
        EXPECT_GT(barEnd, tv->viewport()->width() - 12); // at the column's right edge, whole
        for (QTreeWidgetItem *node : {breakfasts, sauces}) {
            SCOPED_TRACE(node->text(0).toStdString());
            EXPECT_EQ(inkRight(shot, tv->visualItemRect(node)), barEnd);
        }
        // Another rate text may round its glyphs one pixel apart.
        EXPECT_NEAR(inkRight(shot, tv->visualItemRect(wines)), barEnd, 1);
    }
}

TEST_F(MainWindowTest, HoveringANodeOrAProductNamesItInFullWithItsId)
{
    TTestDatabase db(depthsSite());
    TShownMain &w = showOn(db);
    ASSERT_EQ(w.error, QString());

    QTreeWidget *tv = w.departmentTree();
    tv->expandAll();
    QTreeWidgetItem *bar = tv->topLevelItem(0);
    QTreeWidgetItem *breakfasts = bar->child(0);
    QTreeWidgetItem *sauces = breakfasts->child(0);
    const struct
    {
        QTreeWidgetItem *node;
        QString toolTip;
    } nodes[] = {
        {bar, isolatedName("Bar") + QStringLiteral("\nDepartment 1")},
        {breakfasts, isolatedName(kBreakfasts) + QStringLiteral("\nSub-department 10")},
        {sauces, isolatedName(kSauces) + QStringLiteral("\nThird-level department 100")},
        {tv->topLevelItem(1), isolatedName("Wines") + QStringLiteral("\nDepartment 2")},
    };
    for (const auto &c : nodes) {
        SCOPED_TRACE(c.node->text(0).toStdString());
        EXPECT_EQ(c.node->toolTip(0), c.toolTip);
        EXPECT_EQ(hoverToolTip(tv, tv->visualItemRect(c.node).center()), c.toolTip);
    }

    tv->setCurrentItem(sauces);
    QTableView *lb = w.productGrid();
    ASSERT_EQ(w.productTable()->rowCount(), 1);
    ASSERT_EQ(w.productTable()->product(0), kFishAndChips.left(30));
    const QString productTip = isolatedName(kFishAndChips) + QStringLiteral("\nProduct 1234");
    for (int column : {int(TProductTable::CHECKED), int(TProductTable::PRODUCT)}) {
        SCOPED_TRACE(TProductTable::fieldName(column).toStdString());
        EXPECT_EQ(hoverToolTip(lb, lb->visualRect(w.productTable()->index(0, column)).center()), productTip);
    }
}

// A name the database does not hold is told from an empty one.
TEST_F(MainWindowTest, AMissingNameShowsAsSuchApartFromAnEmptyOne)
{
    TTestDatabase db({vat(1, "9", 5), vat(2, "13.5", 3),
                      "insert into TBL_DEPARTMENTS (DEPT_ID, DESCRIPTION, VAT_ID, PURCH_VAT, IS_ACTIVE, REPORT_GROUP)"
                      " values (1, null, 1, 1, 'Y', 2)",
                      dept(2, "", 1)});
    TShownMain &w = showOn(db);
    ASSERT_EQ(w.error, QString());
    QTreeWidget *tv = w.departmentTree();
    ASSERT_EQ(tv->topLevelItemCount(), 2);
    const bool missingFirst = tv->topLevelItem(0)->toolTip(0).endsWith("Department 1");
    QTreeWidgetItem *missing = tv->topLevelItem(missingFirst ? 0 : 1);
    QTreeWidgetItem *empty = tv->topLevelItem(missingFirst ? 1 : 0);

    EXPECT_EQ(missing->text(0), QStringLiteral("(no name)  9.00%"));
    EXPECT_TRUE(missing->font(0).italic());
    EXPECT_EQ(missing->foreground(0).color(), QColor(Qt::gray));
    EXPECT_EQ(missing->toolTip(0), QStringLiteral("(no name)\nDepartment 1"));

    EXPECT_EQ(empty->text(0), QStringLiteral("9.00%"));
    EXPECT_FALSE(empty->font(0).italic());
    EXPECT_EQ(empty->toolTip(0), isolatedName(QString()) + QStringLiteral("\nDepartment 2"));
}

// The darkest pixel of a cell's text, or nothing where the cell shows none; the grid's
// lines on the cell's edges are left out.
std::optional<QColor> darkestInk(const QImage &image, const QRect &cell)
{
    const QRect area = cell.adjusted(2, 2, -3, -3).intersected(image.rect());
    const QRgb background = image.pixel(area.right(), area.center().y());
    std::optional<QColor> darkest;
    for (int x = area.left(); x <= area.right(); ++x) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            const QColor ink = QColor::fromRgb(image.pixel(x, y));
            if (ink.rgb() != background && (!darkest || ink.lightness() < darkest->lightness()))
                darkest = ink;
        }
    }
    return darkest;
}

// In the product pane too, a description is set apart from the number its tooltip gives
// beside it (an override left open in it would turn "Product 1" round), and one the
// database does not hold is named in grey, apart from an empty one.
TEST_F(MainWindowTest, ProductDescriptionsAreSetApartAndAMissingOneIsNamed)
{
    const QString overridden = QStringLiteral("Tea ") + QChar(0x202E) + QStringLiteral("for two");
    // Stored as UTF-8 by a newer program in a column in CHARACTER SET NONE.
    const QString department = QStringLiteral("Bar ") + QChar(0x202E) + QStringLiteral("and grill");
    TTestDatabase db({vat(1, "9", 5), vat(2, "13.5", 3), dept(1, "Bar", 1), product(1, "Tea", 1, 1),
                      storedBytes("TBL_DEPARTMENTS", "DEPT_ID", 1, department.toUtf8()),
                      storedBytes("TBL_PRODUCTS", "SID", 1, overridden.toUtf8()),
                      "insert into TBL_PRODUCTS (SID, DESCRIPTION, VAT_ID, DEPT_ID) values (2, null, 1, 1)",
                      product(3, "", 1, 1)},
                     TTestDatabase::Schema::TextInNone);
    TShownMain &w = showOn(db);
    ASSERT_EQ(w.error, QString());
    // The title band too: the department's name, set apart, leaves its rate and "Products" be.
    EXPECT_TRUE(w.productsTitle().startsWith(QStringLiteral("   ") + QChar(0x2068) + department))
        << w.productsTitle().toStdString();
    EXPECT_TRUE(w.productsTitle().endsWith(QChar(0x2069) + QStringLiteral("9.00% Products")))
        << w.productsTitle().toStdString();
    TProductTable *cds = w.productTable();
    ASSERT_EQ(cds->rowCount(), 3);
    QTableView *lb = w.productGrid();
    lb->clearSelection();
    lb->setCurrentIndex(QModelIndex());
    const QImage shot = lb->viewport()->grab().toImage();

    const struct
    {
        qint32 sku;
        QString shown;
        bool missing;
        QString toolTip;
    } rows[] = {
        {1, overridden, false, isolatedName(overridden) + QStringLiteral("\nProduct 1")},
        {2, QStringLiteral("(no name)"), true, QStringLiteral("(no name)\nProduct 2")},
        {3, QString(), false, isolatedName(QString()) + QStringLiteral("\nProduct 3")},
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(r.sku);
        int row = 0;
        while (row < cds->rowCount() && cds->sku(row) != r.sku)
            ++row;
        ASSERT_LT(row, cds->rowCount());
        const QModelIndex cell = cds->index(row, TProductTable::PRODUCT);
        EXPECT_EQ(cell.data(Qt::DisplayRole).toString(), r.shown);
        EXPECT_EQ(cell.data(kNameMissingRole).toBool(), r.missing);
        EXPECT_EQ(cds->product(row), r.missing ? QString() : r.shown); // the field as stored
        EXPECT_EQ(hoverToolTip(lb, lb->visualRect(cell).center()), r.toolTip);

        const std::optional<QColor> ink = darkestInk(shot, lb->visualRect(cell));
        if (r.shown.isEmpty()) {
            EXPECT_EQ(ink, std::nullopt);
        } else {
            ASSERT_NE(ink, std::nullopt);
            // Grey for the missing name, the text colour for the others.
            const int expected =
                r.missing ? QColor(Qt::gray).lightness() : lb->palette().color(QPalette::Text).lightness();
            EXPECT_NEAR(ink->lightness(), expected, 24);
        }
    }
}

} // namespace

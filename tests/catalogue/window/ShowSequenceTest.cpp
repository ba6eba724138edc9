// The show sequence end to end: behind the splash, from the registry's database to the
// filled tree and product list; failures reach the error handler with the splash gone.
#include "catalogue/core/ProductTable.h"
#include "catalogue/core/ShownName.h"
#include "catalogue/window/StateImages.h"
#include "tests/catalogue/window/MainWindowFixture.h"
#include "tests/support/LocaleGuard.h"
#include "tests/support/QStringPrinter.h"
#include "tests/support/SiteSql.h"

#include "database/DbConnection.h"
#include "database/DbStatement.h"
#include <QApplication>
#include <QHeaderView>

#include <QTableView>
#include <QTreeWidget>

using namespace site;

namespace {

TEST_F(MainWindowTest, ShowsTheTreeSelectsAndCollapsesTheFirstNode)
{
    LocaleGuard locale(englishLocale());
    TTestDatabase db({setup(77 ^ 0x3A91E27D), vat(1, "9", 5), vat(2, "13.5", 3), dept(1, "Fish & Chips", 1),
                      sub(10, 1, "Sides", 1), l3(100, 10, "Sauces", 1), product(1, "Curry sauce", 1, 1, 10, 100),
                      product(2, "Cod", 1, 1), dept(2, "Bar", 1)});
    TShownMain &w = showOn(db);

    EXPECT_EQ(w.error, QString());
    EXPECT_FALSE(splashAlive());
    EXPECT_EQ(w.siteID(), 77);
    EXPECT_EQ(w.newVatID(), 2);
    EXPECT_TRUE(w.hasThirdLevel());

    QTreeWidget *tv = w.departmentTree();
    ASSERT_EQ(tv->topLevelItemCount(), 2);
    QTreeWidgetItem *first = tv->topLevelItem(0);
    EXPECT_EQ(first->text(0), QStringLiteral("Bar                      9.00%"));
    QTreeWidgetItem *fish = tv->topLevelItem(1);
    ASSERT_EQ(fish->childCount(), 1);
    EXPECT_EQ(fish->child(0)->child(0)->text(0), QStringLiteral("Sauces                   9.00%"));
    EXPECT_EQ(tv->currentItem(), first);
    EXPECT_FALSE(fish->isExpanded());
    EXPECT_EQ(w.productsTitle(), "   " + isolatedName("Bar                      ") + "9.00% Products");

    // The ampersand shows once in the title band.
    tv->setCurrentItem(fish);
    EXPECT_EQ(w.productsTitle(), "   " + isolatedName("Fish & Chips             ") + "9.00% Products");
    EXPECT_EQ(w.productTable()->rowCount(), 2);
    EXPECT_EQ(w.productTable()->product(0), QStringLiteral("Cod"));
    EXPECT_EQ(w.productGrid()->currentIndex().row(), 0);

    // The grid after a rebuild: the tick column first, then the product; the rest hidden;
    // the active row in the button-face colour.
    QTableView *lb = w.productGrid();
    EXPECT_EQ(lb->horizontalHeader()->visualIndex(TProductTable::CHECKED), 0);
    EXPECT_EQ(lb->horizontalHeader()->visualIndex(TProductTable::PRODUCT), 1);
    EXPECT_TRUE(lb->isColumnHidden(TProductTable::SKU));
    EXPECT_TRUE(lb->isColumnHidden(TProductTable::FULLKEY));
    EXPECT_EQ(lb->columnWidth(TProductTable::CHECKED), 24);
    // The description fills the rest of the pane, on one line, ended by an ellipsis when long.
    EXPECT_EQ(lb->columnWidth(TProductTable::CHECKED) + lb->columnWidth(TProductTable::PRODUCT),
              lb->viewport()->width());
    EXPECT_FALSE(lb->wordWrap());
    EXPECT_EQ(lb->palette().color(QPalette::Active, QPalette::Highlight),
              QApplication::palette().color(QPalette::Active, QPalette::Button));
}

TEST(StateImages, ThreeDistinctImagesOfSixteenPixels)
{
    const QList<QPixmap> il = makeStateImages();
    ASSERT_EQ(il.size(), 3);
    for (const QPixmap &image : il)
        EXPECT_EQ(image.size(), QSize(16, 16));
    EXPECT_NE(il[0].toImage(), il[1].toImage());
    EXPECT_NE(il[1].toImage(), il[2].toImage());
    EXPECT_EQ(tickImageIndex("N"), 1);
    EXPECT_EQ(tickImageIndex("y"), 2);
}

TEST_F(MainWindowTest, NothingQualifyingLeavesTheTreeEmpty)
{
    TTestDatabase db({vat(1, "9", 5), vat(2, "13.5", 3), dept(1, "Bar", 2)});
    TShownMain &w = showOn(db);
    EXPECT_EQ(w.error, QString());
    EXPECT_EQ(w.departmentTree()->topLevelItemCount(), 0);
    EXPECT_EQ(w.departmentTree()->currentItem(), nullptr);
    EXPECT_EQ(w.productsTitle(), QStringLiteral("   Products"));
}

struct BadDatabaseCase
{
    const char *name;
    enum { MissingFile, EmptyPath, ServerDown, MissingTable, MissingColumn } kind;
    const char *messagePart;
};

void PrintTo(const BadDatabaseCase &c, std::ostream *os)
{
    *os << c.name;
}

class BadDatabase : public MainWindowTest, public ::testing::WithParamInterface<BadDatabaseCase>
{
};

TEST_P(BadDatabase, ReachesTheErrorHandlerWithTheSplashGoneAndTheTreeEmpty)
{
    const BadDatabaseCase &c = GetParam();
    std::unique_ptr<TTestDatabase> db;
    QString path;
    switch (c.kind) {
    case BadDatabaseCase::MissingFile:
        path = fRegistry.filePath("missing.fdb");
        break;
    case BadDatabaseCase::EmptyPath:
        break;
    case BadDatabaseCase::ServerDown:
        path = QStringLiteral("127.0.0.1/3099:") + fRegistry.filePath("site.fdb"); // no server on that port
        break;
    case BadDatabaseCase::MissingTable:
        db = std::make_unique<TTestDatabase>(QStringList{}, TTestDatabase::Schema::Empty);
        path = db->path();
        break;
    case BadDatabaseCase::MissingColumn:
        db = std::make_unique<TTestDatabase>(
            QStringList{vat(1, "9", 5), vat(2, "13.5", 3), "alter table TBL_DEPARTMENTS drop REPORT_GROUP"});
        path = db->path();
        break;
    }
    TShownMain &w = showOn(path);
    EXPECT_FALSE(w.error.isEmpty());
    EXPECT_TRUE(w.error.contains(QLatin1String(c.messagePart), Qt::CaseInsensitive)) << w.error.toStdString();
    EXPECT_FALSE(splashAlive());
    EXPECT_EQ(w.departmentTree()->topLevelItemCount(), 0);
    EXPECT_EQ(w.productsTitle(), QStringLiteral("   Products"));
    EXPECT_TRUE(w.isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadDatabase,
    ::testing::Values(BadDatabaseCase{"MissingFile", BadDatabaseCase::MissingFile, "missing.fdb"},
                      BadDatabaseCase{"EmptyPath", BadDatabaseCase::EmptyPath, "ServerPath"},
                      BadDatabaseCase{"ServerDown", BadDatabaseCase::ServerDown, "network request"},
                      BadDatabaseCase{"MissingTable", BadDatabaseCase::MissingTable, "TBL_SETUP"},
                      BadDatabaseCase{"MissingColumn", BadDatabaseCase::MissingColumn, "REPORT_GROUP"}),
    [](const auto &info) { return std::string(info.param.name); });

// Everything the program reads and writes is checked before the new code is made: a
// database it refuses is left without one, however often it is opened.
TEST_F(MainWindowTest, ADatabaseLackingATableIsRefusedAndGetsNoNewCode)
{
    const QString lacks = "The database lacks what the program works on, so nothing is changed in it: ";
    for (const char *table : {"TBL_PRODUCTS", "TBL_DEPARTMENTS"}) {
        SCOPED_TRACE(table);
        TTestDatabase db({vat(1, "9", 5), "alter sequence GEN_VAT restart with 5",
                          QStringLiteral("drop table %1").arg(QLatin1String(table))});
        for (int start = 0; start < 2; ++start) {
            fWindow.reset();
            EXPECT_EQ(showOn(db).error, lacks + "no table " + table + ".");
            EXPECT_EQ(fWindow->newVatID(), 0);
        }

        TDbConnection check;
        check.setDatabase(db.path());
        check.open();
        TDbStatement count(check);
        count.setSQL("select count(*) from TBL_VAT_CODES");
        count.open();
        EXPECT_EQ(count.field(0).asInteger(), 1);
    }
}

} // namespace

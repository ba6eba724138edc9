// The product table as a view of one section of the store, and its toggle.
#include "catalogue/core/ProductTable.h"
#include "catalogue/core/SectionNames.h"
#include "catalogue/core/SelectionStore.h"
#include "catalogue/core/ShownName.h"
#include "tests/support/QStringPrinter.h"

#include <gtest/gtest.h>

namespace {

const QString longName = QStringLiteral("Chargrilled Irish sirloin steak, peppercorn sauce, hand-cut chips & salad");

TEST(ProductTable, RowsFollowTheSectionOrder)
{
    TSelectionStore store;
    const QString dept = sectionName(1, 4);
    store.write(dept, "31_Fish_and_chips", "N");
    store.write(dept, "30_" + longName, "Y");
    store.write(dept, "29_Crème brûlée", "N");

    TProductTable cds;
    cds.loadSection(store, dept);

    ASSERT_EQ(cds.rowCount(), 3);
    EXPECT_EQ(cds.columnCount(), 4);
    EXPECT_EQ(TProductTable::fieldName(TProductTable::CHECKED), QStringLiteral("CHECKED"));

    EXPECT_EQ(cds.sku(0), 31);
    EXPECT_EQ(cds.product(0), QStringLiteral("Fish_and_chips"));
    EXPECT_EQ(cds.product(1), longName.left(30));
    // The grid shows the whole description, which its column ends in an ellipsis when
    // it is too long; the field keeps its width.
    EXPECT_EQ(cds.data(cds.index(1, TProductTable::PRODUCT), Qt::DisplayRole).toString(), longName);
    EXPECT_EQ(cds.data(cds.index(1, TProductTable::PRODUCT), Qt::EditRole).toString(), longName.left(30));
    EXPECT_EQ(cds.fullKey(1), "30_" + longName); // whole key, longer than 60
    EXPECT_EQ(cds.checked(1), QStringLiteral("Y"));
    EXPECT_EQ(cds.product(2), QStringLiteral("Crème brûlée"));

    cds.loadSection(store, sectionName(1, 5));
    EXPECT_EQ(cds.rowCount(), 0);
}

TEST(ProductTable, ToggleWritesThroughEverySectionThatListsTheProduct)
{
    TSelectionStore store;
    const QString key = "30_" + longName;
    const QString dept = sectionName(1, 4), sub = sectionName(2, 40), other = sectionName(1, 5);
    store.write(dept, key, "Y");
    store.write(sub, key, "Y");
    store.write(other, "1_Water", "Y");

    TProductTable cds;
    cds.loadSection(store, sub);
    EXPECT_EQ(cds.toggle(0, store), QStringLiteral("N"));
    EXPECT_EQ(store.read(dept, key, "?"), QStringLiteral("N"));
    EXPECT_EQ(store.read(sub, key, "?"), QStringLiteral("N"));
    EXPECT_EQ(store.read(other, "1_Water", "?"), QStringLiteral("Y"));
    EXPECT_TRUE(store.keys(other) == QStringList{"1_Water"});

    EXPECT_EQ(cds.toggle(0, store), QStringLiteral("Y"));
    EXPECT_EQ(store.read(dept, key, "?"), QStringLiteral("Y"));
}

TEST(ProductTable, EveryCellsToolTipGivesTheWholeDescriptionAndTheNumber)
{
    TSelectionStore store;
    const QString dept = sectionName(1, 4);
    store.write(dept, "1234_" + longName, "N");
    store.write(dept, "7_Fish_and_chips", "Y");
    TProductTable cds;
    cds.loadSection(store, dept);
    ASSERT_EQ(cds.rowCount(), 2);
    for (int column = 0; column < cds.columnCount(); ++column) {
        SCOPED_TRACE(TProductTable::fieldName(column).toStdString());
        EXPECT_EQ(cds.data(cds.index(0, column), Qt::ToolTipRole).toString(),
                  isolatedName(longName) + "\nProduct 1234");
        EXPECT_EQ(cds.data(cds.index(1, column), Qt::ToolTipRole).toString(),
                  isolatedName("Fish_and_chips") + "\nProduct 7");
    }
}

TEST(ProductTable, LowerCaseYCountsAsTicked)
{
    TSelectionStore store;
    store.write("100001", "1_A", "y");
    TProductTable cds;
    cds.loadSection(store, "100001");
    EXPECT_EQ(cds.toggle(0, store), QStringLiteral("N"));
}

TEST(ProductTable, AKeyThatNamesNoNumberShowsSkuZero)
{
    TSelectionStore store;
    store.write("100001", "x1_Odd", "N");
    store.write("100001", "99999999999_Too big", "N");
    TProductTable cds;
    cds.loadSection(store, "100001");
    ASSERT_EQ(cds.rowCount(), 2);
    EXPECT_EQ(cds.sku(0), 0);
    EXPECT_EQ(cds.product(0), QStringLiteral("Odd"));
    EXPECT_EQ(cds.sku(1), 0);
}

} // namespace

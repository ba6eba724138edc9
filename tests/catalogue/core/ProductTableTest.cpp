// The product table as a view of one node of the selection, and its toggle.
#include "catalogue/core/ProductTable.h"
#include "catalogue/core/Selection.h"
#include "catalogue/core/ShownName.h"
#include "tests/support/QStringPrinter.h"

#include <gtest/gtest.h>

namespace {

const QString longName = QStringLiteral("Chargrilled Irish sirloin steak, peppercorn sauce, hand-cut chips & salad");

TEST(ProductTable, RowsFollowTheNodesOrder)
{
    TSelection selection;
    selection.addNode(1, 4, {{31, "Fish_and_chips"}, {30, longName}, {29, "Crème brûlée"}});
    selection.addNode(1, 5, {});
    selection.setTicked(1, true);

    TProductTable cds;
    cds.loadNode(selection, 0);

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

    cds.loadNode(selection, 1);
    EXPECT_EQ(cds.rowCount(), 0);
}

TEST(ProductTable, ToggleReachesEveryNodeThatListsTheProduct)
{
    TSelection selection;
    selection.addNode(1, 4, {{30, longName}});
    selection.addNode(2, 40, {{30, longName}});
    selection.addNode(1, 5, {{1, "Water"}});
    for (int product = 0; product < selection.productCount(); ++product)
        selection.setTicked(product, true);

    TProductTable cds;
    cds.loadNode(selection, 1);
    EXPECT_EQ(cds.toggle(0, selection), QStringLiteral("N"));
    cds.loadNode(selection, 0);
    EXPECT_EQ(cds.checked(0), QStringLiteral("N"));
    cds.loadNode(selection, 2);
    EXPECT_EQ(cds.checked(0), QStringLiteral("Y"));

    cds.loadNode(selection, 1);
    EXPECT_EQ(cds.toggle(0, selection), QStringLiteral("Y"));
    cds.loadNode(selection, 0);
    EXPECT_EQ(cds.checked(0), QStringLiteral("Y"));
}

TEST(ProductTable, EveryCellsToolTipGivesTheWholeDescriptionAndTheNumber)
{
    TSelection selection;
    selection.addNode(1, 4, {{1234, longName}, {7, "Fish_and_chips"}});
    TProductTable cds;
    cds.loadNode(selection, 0);
    ASSERT_EQ(cds.rowCount(), 2);
    for (int column = 0; column < cds.columnCount(); ++column) {
        SCOPED_TRACE(TProductTable::fieldName(column).toStdString());
        EXPECT_EQ(cds.data(cds.index(0, column), Qt::ToolTipRole).toString(),
                  isolatedName(longName) + "\nProduct 1234");
        EXPECT_EQ(cds.data(cds.index(1, column), Qt::ToolTipRole).toString(),
                  isolatedName("Fish_and_chips") + "\nProduct 7");
    }
}

// The whole key names the product, a missing description apart from an empty one.
TEST(ProductTable, TheFullKeyIsTheNumberAndTheWholeDescription)
{
    TSelection selection;
    selection.addNode(1, 4, {{45, QString()}, {45, ""}, {-3, "Refund_desk"}});
    TProductTable cds;
    cds.loadNode(selection, 0);
    ASSERT_EQ(cds.rowCount(), 3);
    EXPECT_EQ(cds.fullKey(0), QStringLiteral("45"));
    EXPECT_EQ(cds.fullKey(1), QStringLiteral("45_"));
    EXPECT_EQ(cds.fullKey(2), QStringLiteral("-3_Refund_desk"));
    EXPECT_EQ(cds.sku(2), -3);
    EXPECT_EQ(cds.product(2), QStringLiteral("Refund_desk"));
    EXPECT_TRUE(cds.data(cds.index(0, TProductTable::PRODUCT), kNameMissingRole).toBool());
    EXPECT_FALSE(cds.data(cds.index(1, TProductTable::PRODUCT), kNameMissingRole).toBool());
}

} // namespace

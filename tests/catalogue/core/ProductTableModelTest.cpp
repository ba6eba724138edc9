// The product table keeps Qt's item-model contract through everything the window does
// with it: the grid and its selection rely on the signals matching the rows.
#include "catalogue/core/ProductTable.h"
#include "catalogue/core/Selection.h"
#include "tests/support/QStringPrinter.h"

#include <QAbstractItemModelTester>
#include <QPersistentModelIndex>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

// A department with three products, a sub-department below it that lists one of them
// again, and a department without products at the old code.
class ProductTableModel : public ::testing::Test
{
protected:
    void SetUp() override
    {
        selection.addNode(1, 4, {{31, "Fish_and_chips"}, {30, longName}, {29, "Crème brûlée"}});
        selection.addNode(2, 40, {{30, longName}});
        selection.addNode(1, 5, {});
    }

    // Flips the row's tick as a click on its tick cell does, and checks that exactly that
    // cell is reported changed.
    void toggleAndExpectOneChangedCell(int row, const QString &expected)
    {
        QSignalSpy changed(&cds, &QAbstractItemModel::dataChanged);
        EXPECT_EQ(cds.toggle(row, selection), expected);
        ASSERT_EQ(changed.count(), 1);
        const QModelIndex cell = cds.index(row, TProductTable::CHECKED);
        EXPECT_EQ(changed.at(0).at(0).value<QModelIndex>(), cell);
        EXPECT_EQ(changed.at(0).at(1).value<QModelIndex>(), cell);
        EXPECT_EQ(cds.data(cell).toString(), expected);
    }

    const QString longName =
        QStringLiteral("Chargrilled Irish sirloin steak, peppercorn sauce, hand-cut chips & salad");
    const int dept = 0;
    const int sub = 1;
    const int emptyDept = 2;
    TSelection selection;
    TProductTable cds;
    // Checks the model on creation and after every signal; any breach ends the run.
    QAbstractItemModelTester tester{&cds, QAbstractItemModelTester::FailureReportingMode::Fatal};
};

TEST_F(ProductTableModel, FillsRefillsAndEmptiesAsTheSelectedNodeChanges)
{
    const struct
    {
        int node;
        int rows;
    } nodes[] = {
        {dept, 3}, {sub, 1}, {emptyDept, 0}, {dept, 3}, {dept, 3}, {-1, 0}, {sub, 1},
    };
    for (const auto &node : nodes) {
        SCOPED_TRACE(node.node);
        QSignalSpy reset(&cds, &QAbstractItemModel::modelReset);
        cds.loadNode(selection, node.node);
        EXPECT_EQ(reset.count(), 1);
        EXPECT_EQ(cds.rowCount(), node.rows);
    }
}

TEST_F(ProductTableModel, ALoadDropsTheGridsHoldOnRowsOfTheSectionBefore)
{
    cds.loadNode(selection, dept);
    const QPersistentModelIndex current(cds.index(2, TProductTable::PRODUCT));
    ASSERT_TRUE(current.isValid());

    cds.loadNode(selection, sub);
    EXPECT_FALSE(current.isValid());
    EXPECT_FALSE(cds.index(2, TProductTable::PRODUCT).isValid());
}

TEST_F(ProductTableModel, TogglesReportTheirCellAndAReloadShowsTicksMadeElsewhere)
{
    cds.loadNode(selection, dept);
    toggleAndExpectOneChangedCell(1, QStringLiteral("Y"));
    toggleAndExpectOneChangedCell(1, QStringLiteral("N"));
    toggleAndExpectOneChangedCell(2, QStringLiteral("Y"));

    // The tick went through to the sub-department, which shows it when selected.
    cds.loadNode(selection, sub);
    EXPECT_EQ(cds.checked(0), QStringLiteral("N"));
    toggleAndExpectOneChangedCell(0, QStringLiteral("Y"));

    // Ticking a node ticks every product it lists and reloads it.
    selection.clickNode(dept);
    cds.loadNode(selection, dept);
    for (int row = 0; row < cds.rowCount(); ++row)
        EXPECT_EQ(cds.data(cds.index(row, TProductTable::CHECKED)).toString(), QStringLiteral("Y")) << row;
}

TEST_F(ProductTableModel, ATogglePastTheRowsChangesAndReportsNothing)
{
    for (const int node : {dept, emptyDept}) {
        SCOPED_TRACE(node);
        cds.loadNode(selection, node);
        QSignalSpy changed(&cds, &QAbstractItemModel::dataChanged);
        for (const int row : {-1, cds.rowCount(), cds.rowCount() + 5})
            EXPECT_EQ(cds.toggle(row, selection), QString()) << row;
        EXPECT_EQ(changed.count(), 0);
    }
    for (int product = 0; product < selection.productCount(); ++product)
        EXPECT_FALSE(selection.isTicked(product)) << product;
}

} // namespace

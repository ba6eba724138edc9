// The product table keeps Qt's item-model contract through everything the window does
// with it: the grid and its selection rely on the signals matching the rows.
#include "catalogue/core/ProductTable.h"
#include "catalogue/core/SectionNames.h"
#include "catalogue/core/SelectionStore.h"
#include "tests/support/QStringPrinter.h"

#include <QAbstractItemModelTester>
#include <QPersistentModelIndex>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

// A department with three products, a sub-department below it that lists one of them
// again, and a department without products at the old code (no section of its own).
class ProductTableModel : public ::testing::Test
{
protected:
    void SetUp() override
    {
        store.write(dept, productKey(31, QStringLiteral("Fish_and_chips")), "N");
        store.write(dept, productKey(30, longName), "N");
        store.write(dept, productKey(29, QStringLiteral("Crème brûlée")), "N");
        store.write(sub, productKey(30, longName), "N");
    }

    // Flips the row's tick as a click on its tick cell does, and checks that exactly that
    // cell is reported changed.
    void toggleAndExpectOneChangedCell(int row, const QString &expected)
    {
        QSignalSpy changed(&cds, &QAbstractItemModel::dataChanged);
        EXPECT_EQ(cds.toggle(row, store), expected);
        ASSERT_EQ(changed.count(), 1);
        const QModelIndex cell = cds.index(row, TProductTable::CHECKED);
        EXPECT_EQ(changed.at(0).at(0).value<QModelIndex>(), cell);
        EXPECT_EQ(changed.at(0).at(1).value<QModelIndex>(), cell);
        EXPECT_EQ(cds.data(cell).toString(), expected);
    }

    const QString longName =
        QStringLiteral("Chargrilled Irish sirloin steak, peppercorn sauce, hand-cut chips & salad");
    const QString dept = sectionName(1, 4);
    const QString sub = sectionName(2, 40);
    const QString emptyDept = sectionName(1, 5);
    TSelectionStore store;
    TProductTable cds;
    // Checks the model on creation and after every signal; any breach ends the run.
    QAbstractItemModelTester tester{&cds, QAbstractItemModelTester::FailureReportingMode::Fatal};
};

TEST_F(ProductTableModel, FillsRefillsAndEmptiesAsTheSelectedNodeChanges)
{
    const struct
    {
        QString section;
        int rows;
    } nodes[] = {
        {dept, 3}, {sub, 1}, {emptyDept, 0}, {dept, 3}, {dept, 3}, {QString(), 0}, {sub, 1},
    };
    for (const auto &node : nodes) {
        SCOPED_TRACE(node.section.toStdString());
        QSignalSpy reset(&cds, &QAbstractItemModel::modelReset);
        cds.loadSection(store, node.section);
        EXPECT_EQ(reset.count(), 1);
        EXPECT_EQ(cds.rowCount(), node.rows);
    }
}

TEST_F(ProductTableModel, ALoadDropsTheGridsHoldOnRowsOfTheSectionBefore)
{
    cds.loadSection(store, dept);
    const QPersistentModelIndex current(cds.index(2, TProductTable::PRODUCT));
    ASSERT_TRUE(current.isValid());

    cds.loadSection(store, sub);
    EXPECT_FALSE(current.isValid());
    EXPECT_FALSE(cds.index(2, TProductTable::PRODUCT).isValid());
}

TEST_F(ProductTableModel, TogglesReportTheirCellAndAReloadShowsTicksMadeElsewhere)
{
    cds.loadSection(store, dept);
    toggleAndExpectOneChangedCell(1, QStringLiteral("Y"));
    toggleAndExpectOneChangedCell(1, QStringLiteral("N"));
    toggleAndExpectOneChangedCell(2, QStringLiteral("Y"));

    // The tick went through to the sub-department, which shows it when selected.
    cds.loadSection(store, sub);
    EXPECT_EQ(cds.checked(0), QStringLiteral("N"));
    toggleAndExpectOneChangedCell(0, QStringLiteral("Y"));

    // Ticking a node writes every product of its section into the store and reloads it.
    for (const QString &key : store.keys(dept))
        store.setInAllSections(key, store.sections(), QStringLiteral("Y"));
    cds.loadSection(store, dept);
    for (int row = 0; row < cds.rowCount(); ++row)
        EXPECT_EQ(cds.data(cds.index(row, TProductTable::CHECKED)).toString(), QStringLiteral("Y")) << row;
}

TEST_F(ProductTableModel, ATogglePastTheRowsChangesAndReportsNothing)
{
    for (const QString &section : {dept, emptyDept}) {
        SCOPED_TRACE(section.toStdString());
        cds.loadSection(store, section);
        QSignalSpy changed(&cds, &QAbstractItemModel::dataChanged);
        for (const int row : {-1, cds.rowCount(), cds.rowCount() + 5})
            EXPECT_EQ(cds.toggle(row, store), QString()) << row;
        EXPECT_EQ(changed.count(), 0);
    }
    for (const QString &key : store.keys(dept))
        EXPECT_EQ(store.read(dept, key, "?"), QStringLiteral("N"));
}

} // namespace

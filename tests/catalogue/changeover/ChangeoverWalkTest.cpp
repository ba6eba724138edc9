// What the update phase changes, row by row, on one small site: ticked departments by
// their own tables, ticked products, and nothing else.
#include "catalogue/changeover/ChangeoverUpdate.h"
#include "database/DbConnection.h"
#include "database/DbStatement.h"
#include "database/testing/TestDatabase.h"
#include "tests/catalogue/changeover/ChangeoverSite.h"

#include <gtest/gtest.h>

using namespace changeover;

namespace {

struct OutcomeCase
{
    const char *name;
    QList<Node> tickedNodes;
    QList<qint32> tickedProducts;
    QStringList changedRows;
};

// Test names show the case, not the bytes of the struct.
void PrintTo(const OutcomeCase &c, std::ostream *os)
{
    *os << c.name;
}

class ChangeoverOutcome : public ::testing::TestWithParam<OutcomeCase>
{
};

TEST_P(ChangeoverOutcome, ChangesExactlyTheTickedRows)
{
    const OutcomeCase &c = GetParam();
    TTestDatabase db(siteSql());
    TSelection selection = seededSelection(c.tickedNodes);
    for (qint32 sid : c.tickedProducts)
        setProductTick(selection, sid);

    TDbConnection conx;
    conx.setDatabase(db.path());
    conx.open();
    TDbStatement q1(conx);
    const TChangeoverOutcome outcome = applyChangeover(conx, q1, selection, kNewVID);
    conx.close();

    EXPECT_TRUE(outcome.changed);
    EXPECT_EQ(outcome.failure, QString());
    EXPECT_EQ(rows(db.path()), baselineWith(c.changedRows));
    // The trigger was off for the updates and is on again.
    EXPECT_EQ(departmentLogRows(db.path()), 0);
    EXPECT_TRUE(departmentTriggerActive(db.path()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChangeoverOutcome,
    ::testing::Values(OutcomeCase{"NothingTicked", {}, {}, {}},
                      OutcomeCase{"TickedDepartmentChangesItsOwnRowOnly", {Bar}, {}, {"D1 2/2"}},
                      OutcomeCase{"DepartmentAlreadySellingAtTheNewCodeKeepsItsPurchaseCode", {Kitchen}, {}, {}},
                      OutcomeCase{"SubAndThirdLevelChangeTheirOwnTables", {Beer, Lager}, {}, {"S10 2/2", "T100 2/2"}},
                      OutcomeCase{"TickedProductUnderAnUntickedDepartment", {}, {21}, {"P21 2"}},
                      OutcomeCase{"UntickedProductUnderATickedDepartment", {Bar}, {11}, {"D1 2/2", "P11 2"}},
                      // Product 0 is a product like any other.
                      OutcomeCase{"ProductZero", {}, {0}, {"P0 2"}},
                      OutcomeCase{"ProductListedUnderEveryLevelChangesOnce", {}, {12}, {"P12 2"}}),
    [](const ::testing::TestParamInfo<OutcomeCase> &info) { return std::string(info.param.name); });

// A department listed for its products at the old code may have no sales code at all;
// ticked, it moves like any other.
TEST(ChangeoverWalk, TickedDepartmentsWithoutASalesCodeMove)
{
    TTestDatabase db(siteSql());
    db.run({"update TBL_DEPARTMENTS set VAT_ID = null where DEPT_ID = 1",
            "update TBL_SUB_DEPARTMENTS set SALES_VID = null where SUB_DEPT = 10",
            "update TBL_L3DEPARTMENTS set SALES_VID = null where L3DID = 100"});

    TDbConnection conx;
    conx.setDatabase(db.path());
    conx.open();
    TDbStatement q1(conx);
    const TChangeoverOutcome outcome = applyChangeover(conx, q1, seededSelection({Bar, Beer, Lager}), kNewVID);
    conx.close();

    EXPECT_TRUE(outcome.changed) << outcome.failure.toStdString();
    EXPECT_EQ(rows(db.path()), baselineWith({"D1 2/2", "S10 2/2", "T100 2/2"}));
}

// A site from before the third level: its table is missing, and a run that never meets a
// third-level node must not need it.
TEST(ChangeoverWalk, SiteWithoutTheThirdLevelNeverPreparesItsStatement)
{
    TTestDatabase db(siteSql());
    db.run({"drop table TBL_L3DEPARTMENTS"});
    TSelection selection = seededSelection({Bar, Beer}, {Lager});
    setProductTick(selection, 13);

    TDbConnection conx;
    conx.setDatabase(db.path());
    conx.open();
    TDbStatement q1(conx);
    const TChangeoverOutcome outcome = applyChangeover(conx, q1, selection, kNewVID);
    conx.close();

    EXPECT_TRUE(outcome.changed) << outcome.failure.toStdString();
}

} // namespace

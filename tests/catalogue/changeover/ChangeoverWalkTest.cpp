// What the update phase changes, row by row, on one small site: ticked departments by
// their own tables, products ticked in any section, and nothing else.
#include "catalogue/changeover/ChangeoverUpdate.h"
#include "catalogue/core/SectionNames.h"
#include "database/DbConnection.h"
#include "database/DbStatement.h"
#include "database/testing/TestDatabase.h"
#include "tests/catalogue/changeover/ChangeoverSite.h"

#include <gtest/gtest.h>

using namespace changeover;

namespace {

struct Tick
{
    Node node;
    const char *key;
    const char *value;
};

struct OutcomeCase
{
    const char *name;
    QList<Node> tickedNodes;
    QList<Tick> ticks;
    QStringList changedRows;
};

// Test names show the case, not the bytes of the struct.
void PrintTo(const OutcomeCase &c, std::ostream *os)
{
    *os << c.name;
}

QString section(Node node)
{
    const TChangeoverNode n = nodes().at(node);
    return sectionName(n.depth + 1, n.id);
}

class ChangeoverOutcome : public ::testing::TestWithParam<OutcomeCase>
{
};

TEST_P(ChangeoverOutcome, ChangesExactlyTheTickedRows)
{
    const OutcomeCase &c = GetParam();
    TTestDatabase db(siteSql());
    TSelectionStore store = seededStore();
    for (const Tick &tick : c.ticks)
        store.write(section(tick.node), tick.key, tick.value);

    TDbConnection conx;
    conx.setDatabase(db.path());
    conx.open();
    TDbStatement q1(conx);
    const TChangeoverOutcome outcome = applyChangeover(conx, q1, nodes(c.tickedNodes), store, kNewVID);
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
                      OutcomeCase{"TickedProductUnderAnUntickedDepartment", {}, {{Kitchen, "21_Soup", "Y"}}, {"P21 2"}},
                      OutcomeCase{"UntickedProductUnderATickedDepartment",
                                  {Bar},
                                  {{Bar, "13_Nuts", "N"}, {Bar, "11_Stout", "Y"}},
                                  {"D1 2/2", "P11 2"}},
                      OutcomeCase{"LowerCaseYCountsAsTicked", {}, {{Wine, "14_Merlot", "y"}}, {"P14 2"}},
                      OutcomeCase{"OtherValuesDoNot", {}, {{Wine, "14_Merlot", "Yes"}, {Beer, "11_Stout", ""}}, {}},
                      // Product 0 exists: a key that names no number must not reach it.
                      OutcomeCase{"KeyWithoutANumberTouchesNothing",
                                  {},
                                  {{Bar, "Zero_Item", "Y"}, {Bar, "_Zero", "Y"}, {Bar, "99999999999_Big", "Y"}},
                                  {}},
                      OutcomeCase{"ProductTickedInEverySectionThatListsIt",
                                  {},
                                  {{Bar, "12_Pils", "Y"}, {Beer, "12_Pils", "Y"}, {Lager, "12_Pils", "Y"}},
                                  {"P12 2"}}),
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
    const TChangeoverOutcome outcome = applyChangeover(conx, q1, nodes({Bar, Beer, Lager}), seededStore(), kNewVID);
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
    TSelectionStore store = seededStore();
    store.write(section(Bar), "13_Nuts", "Y");

    TDbConnection conx;
    conx.setDatabase(db.path());
    conx.open();
    TDbStatement q1(conx);
    QList<TChangeoverNode> tree = nodes({Bar, Beer});
    tree.removeAt(Lager);
    const TChangeoverOutcome outcome = applyChangeover(conx, q1, tree, store, kNewVID);
    conx.close();

    EXPECT_TRUE(outcome.changed) << outcome.failure.toStdString();
}

} // namespace

// Where products at the old code are filed: which departments hold some at their own
// level, and which products each node lists. A null column is no value; 0 and negative
// ids are values like any other.
#include "catalogue/core/ProductFiling.h"
#include "tests/support/QStringPrinter.h"

#include <gtest/gtest.h>

namespace {

constexpr std::nullopt_t none = std::nullopt;

const QList<TFiledProduct> kProducts = {
    // sid, description, DEPT_ID, SUB_DEPT, L3DID
    {1, "Direct", 10, none, none},        {2, "Zero sub", 10, 0, none},      {3, "In sub", 10, 20, none},
    {4, "In third", 10, 20, 30},          {5, "Negative third", 11, 21, -5}, {6, "Zero ids", 0, 0, 0},
    {7, "No department", none, 22, none},
};

TEST(OwnLevelHolders, CountsOnlyProductsFiledAtTheLevelItself)
{
    const TOwnLevelHolders holders(kProducts);
    struct
    {
        int level;
        qint32 id;
        bool holds;
    } cases[] = {
        {1, 10, true},                                                // 1 and 2: no sub-department, or 0
        {1, 11, false},                                               // only filed under sub-department 21
        {1, 0, true},   {2, 0, true},  {3, 0, true},   {2, 20, true}, // 3
        {2, 21, true},                                                // 5: a third level of -5 is none
        {2, 22, true},                                                // 7: a missing department does not matter here
        {3, 30, true},  {3, -5, true}, {3, 20, false}, {4, 10, false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(holders.holds(c.level, c.id), c.holds) << c.level << ":" << c.id;
}

TEST(ProductsOfNodes, EveryNodeListsWhatItsColumnNamesInTheGivenOrder)
{
    const std::vector<TPlannedNode> plan = {
        {1, 10, "Ten", -1},    {2, 20, "Twenty", 0},    {3, 30, "Thirty", 1},     {1, 0, "Zero", -1},
        {2, 0, "Zero sub", 3}, {3, 0, "Zero third", 4}, {3, -5, "Minus five", 4}, {1, 99, "Empty", -1},
    };
    const std::vector<QList<TProductRow>> listed = productsOfNodes(plan, kProducts);
    ASSERT_EQ(listed.size(), plan.size());
    const auto sids = [&listed](int node) {
        QList<qint32> result;
        for (const TProductRow &row : listed[node])
            result << row.sid;
        return result;
    };
    EXPECT_EQ(sids(0), QList<qint32>({1, 2, 3, 4}));
    EXPECT_EQ(sids(1), QList<qint32>({3, 4}));
    EXPECT_EQ(sids(2), QList<qint32>({4}));
    EXPECT_EQ(sids(3), QList<qint32>({6}));
    EXPECT_EQ(sids(4), QList<qint32>({2, 6}));
    EXPECT_EQ(sids(5), QList<qint32>({6}));
    EXPECT_EQ(sids(6), QList<qint32>({5}));
    EXPECT_EQ(sids(7), QList<qint32>());
    EXPECT_EQ(listed[0][2].description, QStringLiteral("In sub"));
}

} // namespace

// The operator's selection on its own: what a click on a department's box or a
// product's box changes, and which products are one and the same.
#include "catalogue/core/Selection.h"
#include "tests/support/QStringPrinter.h"

#include <gtest/gtest.h>

namespace {

// Bar (dept 1) > Beer (sub 10) > Lager (third level 100); Bar > Wine (sub 11);
// Kitchen (dept 2); Cellar (dept 3, no products) > Casks (sub 30, no products).
// Products: 0 Zero, 11 Stout (Beer), 12 Pils (Lager), 13 Nuts (Bar), 14 Merlot (Wine),
// 21 Soup (Kitchen). A department lists every product filed below it too.
enum Node { Bar, Beer, Lager, Wine, Kitchen, Cellar, Casks };

TSelection site()
{
    TSelection selection;
    selection.addNode(1, 1, {{0, "Zero"}, {11, "Stout"}, {12, "Pils"}, {13, "Nuts"}, {14, "Merlot"}});
    selection.addNode(2, 10, {{11, "Stout"}, {12, "Pils"}});
    selection.addNode(3, 100, {{12, "Pils"}});
    selection.addNode(2, 11, {{14, "Merlot"}});
    selection.addNode(1, 2, {{21, "Soup"}});
    selection.addNode(1, 3, {});
    selection.addNode(2, 30, {});
    return selection;
}

// A click: on a node's box, or on a product's box in the list of a node.
struct Click
{
    Node node;
    qint32 product = -1; // -1: the node's own box
};

struct ClickCase
{
    const char *name;
    QList<Click> clicks;
    QList<Node> marked;
    QList<qint32> ticked;
};

void PrintTo(const ClickCase &c, std::ostream *os)
{
    *os << c.name;
}

int productInNode(const TSelection &selection, Node node, qint32 sid)
{
    for (int product : selection.productsOf(node))
        if (selection.product(product).sid == sid)
            return product;
    ADD_FAILURE() << "node " << node << " lists no product " << sid;
    return -1;
}

class SelectionClicks : public ::testing::TestWithParam<ClickCase>
{
};

TEST_P(SelectionClicks, MarkAndTickAsTheOperatorClicked)
{
    const ClickCase &c = GetParam();
    TSelection selection = site();
    for (const Click &click : c.clicks) {
        if (click.product < 0)
            selection.clickNode(click.node);
        else
            selection.toggleProduct(productInNode(selection, click.node, click.product));
    }

    QList<Node> marked;
    for (int node = 0; node < selection.nodeCount(); ++node)
        if (selection.isMarked(node))
            marked << Node(node);
    EXPECT_EQ(marked, c.marked);
    // Every node that lists a product shows the same tick for it.
    QList<qint32> ticked;
    for (int node = 0; node < selection.nodeCount(); ++node)
        for (int product : selection.productsOf(node))
            if (selection.isTicked(product) && !ticked.contains(selection.product(product).sid))
                ticked << selection.product(product).sid;
    std::sort(ticked.begin(), ticked.end());
    EXPECT_EQ(ticked, c.ticked);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SelectionClicks,
    ::testing::Values(
        ClickCase{"NothingClicked", {}, {}, {}},
        ClickCase{
            "DepartmentTicksItsProductsAndEveryNodeBelow", {{Bar}}, {Bar, Beer, Lager, Wine}, {0, 11, 12, 13, 14}},
        ClickCase{"SubDepartmentLeavesItsDepartmentAndTheRestOfIt", {{Beer}}, {Beer, Lager}, {11, 12}},
        ClickCase{"ThirdLevelMarksOnlyItself", {{Lager}}, {Lager}, {12}},
        ClickCase{"UntickingADepartmentLeavesProductsAndNodesBelow",
                  {{Bar}, {Bar}},
                  {Beer, Lager, Wine},
                  {0, 11, 12, 13, 14}},
        ClickCase{"UntickingANodeBelowLeavesTheDepartment", {{Bar}, {Beer}}, {Bar, Lager, Wine}, {0, 11, 12, 13, 14}},
        ClickCase{"TickingAgainTicksProductsUntickedMeanwhile",
                  {{Bar}, {Bar, 13}, {Wine, 14}, {Bar}, {Bar}},
                  {Bar, Beer, Lager, Wine},
                  {0, 11, 12, 13, 14}},
        ClickCase{"AProductUntickedUnderASubDepartmentIsUntickedEverywhere",
                  {{Bar}, {Beer, 12}},
                  {Bar, Beer, Lager, Wine},
                  {0, 11, 13, 14}},
        ClickCase{"AProductTickedUnderItsDepartmentIsTickedBelowToo", {{Bar, 12}}, {}, {12}},
        ClickCase{"AProductClickedTwiceIsUnticked", {{Lager, 12}, {Beer, 12}}, {}, {}},
        ClickCase{"ANodeWithoutProductsIsMarkedWithTheNodesBelow", {{Cellar}}, {Cellar, Casks}, {}},
        ClickCase{"ProductsOfAnotherDepartmentStayAsTheyAre", {{Kitchen}}, {Kitchen}, {21}}),
    [](const ::testing::TestParamInfo<ClickCase> &info) { return std::string(info.param.name); });

// A product is the same under two nodes only with the same number and description, a
// description the database does not hold being another than an empty one.
TEST(Selection, AProductIsItsNumberAndItsDescription)
{
    TSelection selection;
    selection.addNode(1, 1, {{5, "Tea"}, {5, "Green tea"}, {6, QString()}, {6, ""}, {7, "Tea"}});
    selection.addNode(2, 10, {{5, "Tea"}, {6, QString()}});
    ASSERT_EQ(selection.productCount(), 5);
    ASSERT_EQ(selection.productsOf(1), QList<int>({0, 2}));

    selection.toggleProduct(selection.productsOf(1).at(0));
    selection.toggleProduct(selection.productsOf(1).at(1));
    QList<bool> ticks;
    for (int product : selection.productsOf(0))
        ticks << selection.isTicked(product);
    EXPECT_EQ(ticks, QList<bool>({true, false, true, false, false}));
}

// A node lists a product once, in the order first given; a department added again lists
// the products it did not list yet after its own.
TEST(Selection, ANodeListsEachProductOnceInTheOrderGiven)
{
    TSelection selection;
    selection.addNode(1, 1, {{9, "Coffee"}, {5, "Tea"}, {9, "Coffee"}});
    selection.addNode(1, 1, {{5, "Tea"}, {3, "Milk"}});
    ASSERT_EQ(selection.nodeCount(), 1);
    QList<qint32> listed;
    for (int product : selection.productsOf(0))
        listed << selection.product(product).sid;
    EXPECT_EQ(listed, QList<qint32>({9, 5, 3}));
}

// Departments are told apart by level and id, whatever the id: sub-department 100007 is
// not department 7 one level up, nor is a negative id another's.
TEST(Selection, DepartmentsOfAnyIdAreToldApartByLevel)
{
    const qint32 ids[] = {0, 7, 99999, 100000, 100007, 200007, 2147483647, -1, -100000, -2147483647 - 1};
    TSelection selection;
    for (int level = 1; level <= 3; ++level)
        for (qint32 id : ids)
            selection.addNode(level, id, {});
    ASSERT_EQ(selection.nodeCount(), 3 * int(std::size(ids)));
    for (int node = 0; node < selection.nodeCount(); ++node)
        EXPECT_EQ(selection.nodeOf(selection.level(node), selection.id(node)), node);
    EXPECT_EQ(selection.nodeOf(1, 12), -1);
    EXPECT_EQ(selection.nodeOf(4, 7), -1);
}

} // namespace

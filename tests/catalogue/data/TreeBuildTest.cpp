// Which departments the build lists, how the tree stands and what the selection is seeded
// with, on real databases: the show data loaded as the window loads it.
#include "catalogue/data/ShowData.h"
#include "database/DbConnection.h"
#include "database/DbStatement.h"
#include "database/testing/TestDatabase.h"
#include "tests/catalogue/SelectionKeys.h"
#include "tests/support/LocaleGuard.h"
#include "tests/support/QStringPrinter.h"
#include "tests/support/SiteSql.h"

#include <gtest/gtest.h>

using namespace site;

namespace {

// Codes of every fixture: 1 the old 9 %, 2 the new 13.5 %, 3 a 23 % code.
const QStringList kCodes = {vat(1, "9", 5), vat(2, "13.5", 3), vat(3, "23", 1)};

struct Built
{
    std::vector<TPlannedNode> plan;
    TSelection selection;

    // The products the department's node lists.
    QStringList keys(int level, qint32 id) const { return listedKeys(selection, selection.nodeOf(level, id)); }

    // The tree in display order, one node a line: indent, caption with runs of blanks
    // made one, [level:id].
    QStringList outline() const
    {
        QStringList lines;
        addChildren(-1, lines);
        return lines;
    }

private:
    void addChildren(int parent, QStringList &lines) const
    {
        for (int i = 0; i < int(plan.size()); ++i) {
            if (plan[i].parent != parent)
                continue;
            lines << QString(2 * (plan[i].level - 1), QLatin1Char(' ')) + plan[i].caption.simplified()
                    + QStringLiteral(" [%1:%2]").arg(plan[i].level).arg(plan[i].id);
            addChildren(i, lines);
        }
    }
};

void build(const TTestDatabase &db, Built &built)
{
    TDbConnection conx;
    conx.setDatabase(db.path());
    conx.open();
    TDbStatement q1(conx);
    const TShowData data = loadShowData(conx, q1);
    for (const TShowNode &shown : data.nodes)
        built.plan.push_back(shown.node);
    seedSelection(built.selection, data.nodes);
}

struct ListingCase
{
    const char *name;
    QStringList site;
    QStringList outline;
};

void PrintTo(const ListingCase &c, std::ostream *os)
{
    *os << c.name;
}

class Listing : public ::testing::TestWithParam<ListingCase>
{
};

TEST_P(Listing, ListsWhatQualifiesWithItsAncestors)
{
    LocaleGuard locale(englishLocale());
    TTestDatabase db(kCodes + GetParam().site);
    Built built;
    build(db, built);
    EXPECT_EQ(built.outline(), GetParam().outline);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Listing,
    ::testing::Values(
        ListingCase{"OwnCodeOrProductsFiledDirectly",
                    {dept(10, "Bar", 1), dept(11, "Food", 3), product(1, "Soup", 1, 11), dept(12, "Retail", 3),
                     product(2, "Crisps", 1, 12, 0), dept(13, "Hotel", 3), product(3, "Room", 3, 13),
                     dept(14, "Spa", 2)},
                    {"Bar 9.00% [1:10]", "Food 23.00% [1:11]", "Retail 23.00% [1:12]"}},
        ListingCase{"ChildBringsInItsParents",
                    {dept(20, "Kitchen", 3, 2, "N"), sub(21, 20, "Desserts", 3), product(1, "Tart", 1, 20, 21),
                     dept(30, "Cellar", 3), sub(31, 30, "Wines", 3), l3(32, 31, "Reds", 1)},
                    {"Cellar 23.00% [1:30]", "  Wines 23.00% [2:31]", "    Reds 9.00% [3:32]", "Kitchen 23.00% [1:20]",
                     "  Desserts 23.00% [2:21]"}},
        ListingCase{
            "ProductsOnlyInSubDepartmentDoNotListTheDepartmentByProbe",
            {dept(40, "Deli", 3), sub(41, 40, "Cheese", 3), l3(42, 41, "Soft", 3), product(1, "Brie", 1, 40, 41, 42)},
            {"Deli 23.00% [1:40]", "  Cheese 23.00% [2:41]", "    Soft 23.00% [3:42]"}},
        // The sub-department's probe counts only products filed at its own level.
        ListingCase{"ProductsOnlyUnderAnInactiveThirdLevelDoNotListTheSubDepartmentByProbe",
                    {dept(80, "Cafe", 3), sub(81, 80, "Cakes", 3), l3(82, 81, "Old cakes", 1, "N"),
                     product(1, "Scone", 1, 80, 81, 82)},
                    {}},
        ListingCase{"ReportGroupOneOrNullNeverListed",
                    {dept(50, "Staff", 1, 1), sub(51, 50, "Meals", 1), l3(52, 51, "Hot", 1), dept(60, "Misc", 1, kNull),
                     sub(61, 60, "Other", 1)},
                    {}},
        ListingCase{"InactiveOnesNotListedInTheirOwnRight",
                    {dept(70, "Old bar", 1, 2, "N"), sub(71, 70, "Old sub", 1, "N"), dept(72, "Live", 3),
                     sub(73, 72, "Closed", 1, "N"), l3(74, 73, "Closed too", 1, "N")},
                    {}},
        // A second active 9 % code (4) lists its rows as the first does; an inactive one (5) does not.
        ListingCase{"EveryActiveOldCode",
                    {vat(4, "9", 5), vat(5, "9", 5, "2000-01-01", "2999-12-31", "N"), dept(10, "Bar", 1),
                     dept(11, "Cafe", 4), sub(12, 11, "Cakes", 4), dept(13, "Kitchen", 3), product(1, "Soup", 4, 13),
                     dept(14, "Old", 5), product(2, "Relic", 5, 14)},
                    {"Bar 9.00% [1:10]", "Cafe 9.00% [1:11]", "  Cakes 9.00% [2:12]", "Kitchen 23.00% [1:13]"}},
        ListingCase{"SameNamesByRateThenIds",
                    {dept(30, "Wine", 1), dept(21, "Wine", 3), product(1, "Rioja", 1, 21), dept(20, "wine", 1)},
                    {"wine 9.00% [1:20]", "Wine 9.00% [1:30]", "Wine 23.00% [1:21]"}},
        ListingCase{"NamesSortedIgnoringCaseAndAccents",
                    {dept(1, "zucchini", 1), dept(2, "Éclairs", 1), dept(3, "eggs", 1), dept(4, "Fish & Chips", 1),
                     dept(5, "Traditional Irish Breakfasts", 1), dept(6, "fish_bar", 1)},
                    {"Éclairs 9.00% [1:2]", "eggs 9.00% [1:3]", "Fish & Chips 9.00% [1:4]", "fish_bar 9.00% [1:6]",
                     "Traditional Irish Br 9.00% [1:5]", "zucchini 9.00% [1:1]"}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(TreeBuild, WithoutAnOldCodeNothingIsListed)
{
    LocaleGuard locale(englishLocale());
    const QStringList rows = {vat(2, "13.5", 3), dept(1, "No code", kNull), dept(2, "Zero", 0), dept(3, "New", 2),
                              product(1, "Stray", 0, 3)};
    TTestDatabase withoutOldCode(rows);
    Built nothing;
    build(withoutOldCode, nothing);
    EXPECT_EQ(nothing.outline(), QStringList());

    // A 9 % code numbered 0 is a real code: what reads as 0 is at it.
    TTestDatabase oldCodeZero(rows + QStringList{vat(0, "9", 5)});
    Built built;
    build(oldCodeZero, built);
    EXPECT_EQ(built.outline(), QStringList({"New 13.50% [1:3]", "No code 9.00% [1:1]", "Zero 9.00% [1:2]"}));
}

TEST(TreeBuild, RateShownInTheUsersLocale)
{
    LocaleGuard locale(commaLocale());
    TTestDatabase db(kCodes + QStringList{dept(1, "Bar", 1), dept(2, "Food", 2), product(1, "Soup", 1, 2)});
    Built built;
    build(db, built);
    EXPECT_EQ(built.outline(), QStringList({"Bar 9,00% [1:1]", "Food 13,50% [1:2]"}));
    EXPECT_EQ(built.plan[1].caption, QStringLiteral("Food                    13,50%"));
}

TEST(TreeBuild, SectionsHoldEveryProductBelowTheNodeUnticked)
{
    TTestDatabase db(kCodes
                     + QStringList{dept(1, "Bar", 1), sub(10, 1, "Beer", 1), l3(100, 10, "Lager", 1),
                                   product(1, "Stout", 1, 1, 10), product(2, "Pils", 1, 1, 10, 100),
                                   product(3, "Nuts", 1, 1), product(4, "Cider", 3, 1, 10),
                                   product(5, "Ale_Pale & Co", 1, 1, 10, -1)});
    Built built;
    build(db, built);

    EXPECT_EQ(built.keys(1, 1), QStringList({"5_Ale_Pale & Co", "3_Nuts", "2_Pils", "1_Stout"}));
    EXPECT_EQ(built.keys(2, 10), QStringList({"5_Ale_Pale & Co", "2_Pils", "1_Stout"}));
    EXPECT_EQ(built.keys(3, 100), QStringList({"2_Pils"}));
    for (int product = 0; product < built.selection.productCount(); ++product)
        EXPECT_FALSE(built.selection.isTicked(product)) << product;
    for (int node = 0; node < built.selection.nodeCount(); ++node)
        EXPECT_FALSE(built.selection.isMarked(node)) << node;
}

TEST(TreeBuild, ProductsOfTheSameNameFollowTheirNumbers)
{
    TTestDatabase db(kCodes
                     + QStringList{dept(1, "Bar", 1), product(30, "Cola", 1, 1), product(4, "Cola", 1, 1),
                                   product(200, "Ale", 1, 1), product(17, "Cola", 1, 1)});
    Built built;
    build(db, built);
    EXPECT_EQ(built.keys(1, 1), QStringList({"200_Ale", "4_Cola", "17_Cola", "30_Cola"}));
}

TEST(TreeBuild, LargeIdsKeepTheirOwnSections)
{
    // Sub-department 100012 and third-level department 12 shared the number 300012
    // when sections were level x 100000 + id.
    LocaleGuard locale(englishLocale());
    TTestDatabase db(kCodes
                     + QStringList{dept(1, "Bar", 1), sub(100012, 1, "Spirits", 1), l3(12, 100012, "Gin", 1),
                                   product(1, "Dry gin", 1, 1, 100012, 12), product(2, "Vodka", 1, 1, 100012),
                                   dept(2147483647, "Top", 1), product(3, "Max", 1, 2147483647)});
    Built built;
    build(db, built);

    EXPECT_EQ(built.outline(),
              QStringList({"Bar 9.00% [1:1]", "  Spirits 9.00% [2:100012]", "    Gin 9.00% [3:12]",
                           "Top 9.00% [1:2147483647]"}));
    EXPECT_EQ(built.keys(3, 12), QStringList({"1_Dry gin"}));
    EXPECT_EQ(built.keys(2, 100012), QStringList({"1_Dry gin", "2_Vodka"}));
    EXPECT_EQ(built.keys(1, 2147483647), QStringList({"3_Max"}));
}

TEST(TreeBuild, WithoutTheThirdLevelOnlyDepartments)
{
    LocaleGuard locale(englishLocale());
    TTestDatabase db(kCodes
                     + QStringList{dept(1, "Bar", 1), dept(2, "Food", 3), sub(20, 2, "Soups", 1),
                                   product(1, "Broth", 1, 2, 20), "drop table TBL_L3DEPARTMENTS"});
    Built built;
    build(db, built);
    EXPECT_EQ(built.outline(), QStringList({"Bar 9.00% [1:1]"}));
}

// A back office from before Unicode: text columns in CHARACTER SET NONE holding
// Windows-1252 bytes, beside a few that a newer program stored as UTF-8.
TEST(TreeBuild, TextInCharacterSetNoneShowsAsStoredByTheBackOffice)
{
    LocaleGuard locale(englishLocale());
    TTestDatabase db(kCodes
                         + QStringList{dept(1, "Cafe", 1), sub(10, 1, "Desserts", 1), product(1, "P1", 1, 1),
                                       product(2, "P2", 1, 1, 10), product(3, "P3", 1, 1, 10),
                                       storedBytes("TBL_DEPARTMENTS", "DEPT_ID", 1, "Caf\xE9"),
                                       storedBytes("TBL_SUB_DEPARTMENTS", "SUB_DEPT", 10,
                                                   "Cr\xE8me br\xFBl\xE9"
                                                   "e"),
                                       storedBytes("TBL_PRODUCTS", "SID", 1,
                                                   "Caf\xE9 au lait \x80"
                                                   "2"),
                                       storedBytes("TBL_PRODUCTS", "SID", 2,
                                                   "Cr\xE8me br\xFBl\xE9"
                                                   "e"),
                                       storedBytes("TBL_PRODUCTS", "SID", 3, "B\xC5\x93uf")},
                     TTestDatabase::Schema::TextInNone);
    TDbConnection conx;
    conx.setDatabase(db.path());
    conx.open();
    TDbStatement q1(conx);
    const TShowData data = loadShowData(conx, q1);

    QStringList lines;
    for (const TEntryLine &line : data.lines)
        lines << line.caption.simplified();
    lines.removeDuplicates(); // a department is gathered again with each child
    EXPECT_EQ(lines, QStringList({"Café 9.00%", "Crème brûlée 9.00%"}));
    ASSERT_EQ(data.nodes.size(), 2u);
    EXPECT_EQ(data.nodes[0].node.description, QStringLiteral("Café"));
    EXPECT_EQ(data.nodes[1].node.caption.simplified(), QStringLiteral("Crème brûlée 9.00%"));
    QStringList products;
    for (const TProductRow &row : data.nodes[0].products)
        products << QString::number(row.sid) + QLatin1Char(' ') + row.description;
    // The database orders NONE text by its bytes.
    EXPECT_EQ(products, QStringList({"3 Bœuf", "1 Café au lait €2", "2 Crème brûlée"}));
}

// The window's wait on a distant server is paid per statement: the count must not follow
// the number of departments or products.
TEST(TreeBuild, StatementsDoNotGrowWithTheSite)
{
    // Statements run and nodes listed.
    const auto load = [](int departments) {
        TTestDatabase db(kCodes);
        db.runScript(
            QStringLiteral(
                "set term ^ ;\n"
                "execute block as declare i int = 1; begin\n"
                "  while (i <= %1) do begin\n"
                "    insert into TBL_DEPARTMENTS (DEPT_ID, DESCRIPTION, VAT_ID, PURCH_VAT, IS_ACTIVE, REPORT_GROUP)"
                "      values (:i, 'D' || :i, mod(:i, 3) + 1, 1, 'Y', 2);\n"
                "    insert into TBL_SUB_DEPARTMENTS (SUB_DEPT, DEPT_ID, DESCRIPTION, SALES_VID, PURCH_VID, IS_ACTIVE)"
                "      values (:i, :i, 'S' || :i, 3, 3, 'Y');\n"
                "    insert into TBL_L3DEPARTMENTS (L3DID, L2DID, DESCRIPTION, SALES_VID, PURCH_VID, IS_ACTIVE)"
                "      values (:i, :i, 'T' || :i, 3, 3, 'Y');\n"
                "    insert into TBL_PRODUCTS (SID, DESCRIPTION, VAT_ID, DEPT_ID, SUB_DEPT, L3DID)"
                "      values (:i, 'P' || :i, 1, :i, :i, iif(mod(:i, 2) = 0, :i, null));\n"
                "    i = i + 1;\n"
                "  end\n"
                "end^\n"
                "set term ; ^\n")
                .arg(departments));
        TDbConnection conx;
        conx.setDatabase(db.path());
        conx.open();
        TDbStatement q1(conx);
        const TShowData data = loadShowData(conx, q1);
        return std::make_pair(conx.statementsRun(), data.nodes.size());
    };
    const auto few = load(6);
    const auto many = load(600);
    EXPECT_EQ(many.second, 100 * few.second);
    EXPECT_EQ(many.first, few.first);
    EXPECT_LE(few.first, 50);
}

} // namespace

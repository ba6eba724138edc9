// The store of product ticks and the write-through that carries one tick to every
// section that lists the product.
#include "catalogue/core/SelectionStore.h"
#include "catalogue/core/SectionNames.h"
#include "tests/support/QStringPrinter.h"

#include <gtest/gtest.h>

namespace {

const QString N = QStringLiteral("N");
const QString Y = QStringLiteral("Y");

TEST(SelectionStore, KeepsSectionAndKeyOrderAndReplacesInPlace)
{
    TSelectionStore store;
    store.write("200007", "5_Tea", N);
    store.write("100012", "9_Coffee", N);
    store.write("100012", "5_Tea", N);
    store.write("100012", "9_Coffee", Y);

    EXPECT_EQ(store.sections(), QStringList({"200007", "100012"}));
    EXPECT_EQ(store.keys("100012"), QStringList({"9_Coffee", "5_Tea"}));
    EXPECT_EQ(store.read("100012", "9_Coffee", N), Y);
    EXPECT_EQ(store.read("100012", "5_Tea", N), N);
}

TEST(SelectionStore, MissingSectionsAndKeysGiveTheDefault)
{
    TSelectionStore store;
    store.write("100012", "9_Coffee", Y);

    EXPECT_EQ(store.read("100099", "9_Coffee", N), N);
    EXPECT_EQ(store.read("100012", "1_Other", N), N);
    EXPECT_TRUE(store.keys("100099").isEmpty());
    EXPECT_EQ(store.sections(), QStringList({"100012"}));
}

// One product (key K) listed under its department, sub-department and third-level
// department, plus an unrelated product under the department only.
struct WriteThroughCase
{
    const char *name;
    QStringList sectionsGiven; // the section list handed to setInAllSections
    QString key;
    QString value;
    QStringList expectDept, expectSub, expectL3; // values of K, then of the other key, per section
};

void PrintTo(const WriteThroughCase &c, std::ostream *os)
{
    *os << c.name;
}

class WriteThrough : public ::testing::TestWithParam<WriteThroughCase>
{
};

TEST_P(WriteThrough, ChangesOnlySectionsThatHoldTheKey)
{
    const WriteThroughCase &c = GetParam();
    TSelectionStore store;
    const QString dept = sectionName(1, 12), sub = sectionName(2, 7), l3 = sectionName(3, 345);
    for (const QString &s : {dept, sub, l3})
        store.write(s, "77_Pint of stout", Y);
    store.write(dept, "78_Crisps", Y);

    QStringList given = c.sectionsGiven;
    if (given == QStringList{"all"})
        given = store.sections();
    store.setInAllSections(c.key, given, c.value);

    EXPECT_EQ(store.read(dept, "77_Pint of stout", "?"), c.expectDept[0]);
    EXPECT_EQ(store.read(dept, "78_Crisps", "?"), c.expectDept[1]);
    EXPECT_EQ(store.read(sub, "77_Pint of stout", "?"), c.expectSub[0]);
    EXPECT_EQ(store.read(l3, "77_Pint of stout", "?"), c.expectL3[0]);
    // nothing is ever added
    EXPECT_EQ(store.keys(sub), QStringList{"77_Pint of stout"});
    EXPECT_EQ(store.keys(l3), QStringList{"77_Pint of stout"});
    EXPECT_EQ(store.sections().size(), 3);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WriteThrough,
    ::testing::Values(
        WriteThroughCase{"UntickEverywhere", {"all"}, "77_Pint of stout", "N", {"N", "Y"}, {"N"}, {"N"}},
        WriteThroughCase{"OnlyTheNamedSections", {"200007"}, "77_Pint of stout", "N", {"Y", "Y"}, {"N"}, {"Y"}},
        WriteThroughCase{"UnknownKeyAddsNothing", {"all"}, "79_Nowhere", "N", {"Y", "Y"}, {"Y"}, {"Y"}},
        WriteThroughCase{
            "UnknownSectionIgnored", {"100099", "300345"}, "77_Pint of stout", "N", {"Y", "Y"}, {"Y"}, {"N"}},
        WriteThroughCase{"KeyComparedExactly", {"all"}, "77_pint of stout", "N", {"Y", "Y"}, {"Y"}, {"Y"}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(SelectionStore, AnEmptyValueIsNotOverwritten)
{
    TSelectionStore store;
    store.write("100001", "1_A", QString());
    store.setInAllSections("1_A", store.sections(), Y);
    EXPECT_EQ(store.read("100001", "1_A", "?"), QString());
}

} // namespace

// Section and key naming: short names for ordinary ids, and ids of any size kept apart.
#include "catalogue/core/SectionNames.h"
#include "tests/support/QStringPrinter.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

TEST(SectionNames, OrdinaryIdsUseLevelTimesOneHundredThousand)
{
    struct
    {
        int level;
        qint32 id;
        const char *name;
    } cases[] = {
        {1, 12, "100012"}, {2, 7, "200007"}, {3, 345, "300345"}, {1, 99999, "199999"}, {2, 0, "200000"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(sectionName(c.level, c.id), QString::fromLatin1(c.name));
    }
}

TEST(SectionNames, LargeAndNegativeIdsNeverCollide)
{
    const qint32 ids[] = {0, 1, 7, 99999, 100000, 100007, 199999, 200007, 2147483647, -1, -5, -100000, -2147483647 - 1};
    QSet<QString> names;
    for (int level = 1; level <= 3; ++level)
        for (qint32 id : ids)
            names.insert(sectionName(level, id));
    EXPECT_EQ(names.size(), 3 * int(std::size(ids)));
    // sub-department 100007 is not department 200007's neighbour any more
    EXPECT_NE(sectionName(1, 100007), sectionName(2, 7));
    EXPECT_EQ(sectionName(1, 100007), QStringLiteral("10000100007"));
}

// The SID is the whole number before the first underscore; a key without one names no product.
TEST(ProductKeys, SplitAtTheFirstUnderscore)
{
    const std::optional<qint32> none;
    struct
    {
        const char *key;
        std::optional<qint32> sid;
        const char *description;
    } cases[] = {
        {"123_Fish_and_chips", 123, "Fish_and_chips"},
        {"45_", 45, ""},
        {"7", 7, ""},
        {"123_Cod", 123, "Cod"},
        {"123", 123, ""},
        {"7_a_b", 7, "a_b"},
        {"-3_Negative", -3, "Negative"},
        {"-4_Refund", -4, "Refund"},
        {"x1_Odd", none, "Odd"},
        {"abc_Cod", none, "Cod"},
        {"_Cod", none, "Cod"},
        {"12x_Cod", none, "Cod"},
        {"2147483648_Big", none, "Big"},
        {"99999999999_Too big", none, "Too big"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(productSidOfKey(QString::fromUtf8(c.key)), c.sid);
        EXPECT_EQ(productDescriptionOfKey(QString::fromUtf8(c.key)), QString::fromUtf8(c.description));
    }
    EXPECT_EQ(productKey(2147483647, QStringLiteral(" Café  ")), QStringLiteral("2147483647_ Café  "));
}

// A description the database does not hold reads back as such, apart from an empty one.
TEST(ProductKeys, KeepAMissingDescriptionApartFromAnEmptyOne)
{
    const QString missing = productKey(45, QString());
    const QString empty = productKey(45, QStringLiteral(""));
    EXPECT_EQ(missing, QStringLiteral("45"));
    EXPECT_EQ(empty, QStringLiteral("45_"));
    EXPECT_TRUE(productDescriptionOfKey(missing).isNull());
    EXPECT_FALSE(productDescriptionOfKey(empty).isNull());
    EXPECT_EQ(productSidOfKey(missing), 45);
    EXPECT_EQ(productSidOfKey(empty), 45);
}

} // namespace

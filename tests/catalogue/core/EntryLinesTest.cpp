// Entry lines, their sort, the node plan made from them, the split of node captions and
// the rate text.
#include "catalogue/core/EntryLines.h"
#include "catalogue/core/DepartmentPlan.h"
#include "catalogue/core/RateText.h"
#include "catalogue/core/ShownName.h"
#include "tests/support/LocaleGuard.h"
#include "tests/support/QStringPrinter.h"

#include <gtest/gtest.h>

namespace {

TEST(EntryLines, FixedColumns)
{
    LocaleGuard locale(englishLocale());
    const TEntryLine dept = makeEntryLine(1, "Bar Snacks", "9.00%", 0, 12, true);
    EXPECT_EQ(dept.text, QStringLiteral("1Bar Snacks               9.00%0000000012") + "1");
    EXPECT_EQ(dept.caption, QStringLiteral("Bar Snacks               9.00%"));

    const TEntryLine l3 = makeEntryLine(3, "A very long description here", "13.50%", 7, 345, false);
    EXPECT_EQ(l3.text, QStringLiteral("3A very long descript    13.50%0000700345"));
    EXPECT_EQ(l3.caption, QStringLiteral("A very long descript    13.50%"));
    EXPECT_EQ(l3.text.size(), 41);
}

TEST(EntryLines, LargeIdsWidenTheirColumnAndStayExact)
{
    const TEntryLine line = makeEntryLine(2, "Wines", "9.00%", 123456, 1000001, true);
    EXPECT_TRUE(line.text.endsWith(QStringLiteral("9.00%1234561000001") + "1"));
    EXPECT_EQ(line.parentId, 123456);
    EXPECT_EQ(line.ownId, 1000001);
}

// The gathered lines go into the main log: a description cannot break its line there
// (and forge an entry), while the lines themselves keep the text for the tree.
TEST(EntryLines, TextForTheLogKeepsEachLineOneLineAndEscapesControls)
{
    const QList<TEntryLine> lines = {
        makeEntryLine(1, "Bar\r\n23-09-01 08:00", "9.00%", 0, 1, true),
        makeEntryLine(1, "Tab\there \\ \x1b", "9.00%", 0, 2, true),
        makeEntryLine(1, QStringLiteral("Hot ") + QChar(0x202E) + "puos", "9.00%", 0, 3, true),
    };
    EXPECT_EQ(lines[0].text, QStringLiteral("1Bar\r\n23-09-01 08:00      9.00%0000000001") + "1");
    EXPECT_EQ(entryLinesText(lines).split("\r\n"),
              QStringList({QStringLiteral("1Bar\\r\\n23-09-01 08:00      9.00%0000000001") + "1",
                           QStringLiteral("1Tab\\there \\\\ \\x1B             9.00%0000000002") + "1",
                           QStringLiteral("1Hot \\u202Epuos                9.00%0000000003") + "1"}));
}

// Names are set apart from the text beside them wherever the window shows them; a
// missing one has words of its own.
TEST(ShownName, IsolatesEveryNameAndNamesAMissingOne)
{
    const QChar fsi(0x2068);
    const QChar pdi(0x2069);
    const QString cases[] = {
        QStringLiteral("Bar"),
        QString(),
        QStringLiteral("Bar ") + QChar(0x202E) + QStringLiteral("kcans"),
        QString::fromUtf8("\xd7\x91\xd7\xa8"), // Hebrew, right to left
        QString(pdi) + QStringLiteral("x"),    // a stray end of isolation stays inside
    };
    for (const QString &name : cases)
        EXPECT_EQ(isolatedName(name), fsi + name + pdi);
    EXPECT_EQ(missingName(), QStringLiteral("(no name)"));
}

// In a caption the name and its padding are set apart, the rate left after them.
TEST(ShownName, SetsApartTheNameOfACaption)
{
    const QString override = QStringLiteral("Bar ") + QChar(0x202E) + QStringLiteral("kcans");
    const struct
    {
        QString caption;
        QString shown;
    } cases[] = {
        {"Bar                      9.00%", isolatedName("Bar                      ") + "9.00%"},
        {override + "   13.50%", isolatedName(override + "   ") + "13.50%"},
        {"9.00%", "9.00%"}, // an empty name: the rate alone
    };
    for (const auto &c : cases)
        EXPECT_EQ(captionWithIsolatedName(c.caption), c.shown);
}

QStringList sortedTexts(QList<TEntryLine> lines)
{
    sortEntryLines(lines);
    QStringList texts;
    for (const TEntryLine &l : lines)
        texts << l.text;
    return texts;
}

TEST(EntryLines, SortPutsLevelsFirstThenNamesIgnoringCase)
{
    LocaleGuard locale(englishLocale());
    const QList<TEntryLine> lines = {
        makeEntryLine(2, "apples", "9.00%", 1, 5, true),  makeEntryLine(1, "zest", "9.00%", 0, 1, false),
        makeEntryLine(1, "Éclairs", "9.00%", 0, 3, true), makeEntryLine(1, "BEERS", "9.00%", 0, 2, true),
        makeEntryLine(1, "ales", "9.00%", 0, 4, true),
    };
    const QStringList texts = sortedTexts(lines);
    ASSERT_EQ(texts.size(), 5);
    EXPECT_TRUE(texts[0].startsWith("1ales"));
    EXPECT_TRUE(texts[1].startsWith("1BEERS"));
    EXPECT_TRUE(texts[2].startsWith("1Éclairs")); // collated among the e's, not after z
    EXPECT_TRUE(texts[3].startsWith("1zest"));
    EXPECT_TRUE(texts[4].startsWith("2apples"));
}

TEST(EntryLines, SameNamesOrderedByRateThenParentThenOwnId)
{
    LocaleGuard locale(englishLocale());
    const QList<TEntryLine> lines = {
        makeEntryLine(2, "Food", "9.00%", 2, 1, true),
        makeEntryLine(2, "Food", "13.50%", 9, 9, true),
        makeEntryLine(2, "Food", "9.00%", 1, 8, true),
        makeEntryLine(2, "Food", "9.00%", 1, 3, true),
    };
    const QStringList texts = sortedTexts(lines);
    // "     9.00%" before "    13.50%": a blank sorts before a digit
    EXPECT_TRUE(texts[0].endsWith("0000100003"
                                  "1"));
    EXPECT_TRUE(texts[1].endsWith("0000100008"
                                  "1"));
    EXPECT_TRUE(texts[2].endsWith("0000200001"
                                  "1"));
    EXPECT_TRUE(texts[3].contains("13.50%"));
}

TEST(DepartmentPlan, FirstLineMakesTheNodeAndChildrenFindTheirParent)
{
    LocaleGuard locale(englishLocale());
    QList<TEntryLine> lines = {
        makeEntryLine(3, "Lagers", "9.00%", 7, 345, true),
        makeEntryLine(2, "Beer", "9.00%", 12, 7, false),
        makeEntryLine(1, "Bar", "9.00%", 0, 12, false),
        makeEntryLine(1, "Bar", "9.00%", 0, 12, true), // listed in its own right too
        makeEntryLine(2, "Beer", "9.00%", 12, 7, true),
        makeEntryLine(1, "Kitchen", "9.00%", 0, 7, true), // same id, other level: its own node
        makeEntryLine(2, "Stray", "9.00%", 99, 8, true),  // parent never listed
    };
    sortEntryLines(lines);
    const std::vector<TPlannedNode> plan = planDepartmentTree(lines);

    ASSERT_EQ(plan.size(), 4u);
    EXPECT_EQ(plan[0].caption, QStringLiteral("Bar                      9.00%"));
    EXPECT_EQ(plan[0].parent, -1);
    EXPECT_EQ(plan[1].id, 7);
    EXPECT_EQ(plan[1].level, 1);
    EXPECT_EQ(plan[2].level, 2);
    EXPECT_EQ(plan[2].parent, 0); // under Bar, not under Kitchen
    EXPECT_EQ(plan[3].level, 3);
    EXPECT_EQ(plan[3].parent, 2);
}

TEST(DepartmentPlan, IdZeroAndLargeIdsKeepLevelsAndParents)
{
    QList<TEntryLine> lines = {
        makeEntryLine(1, "Misc", "9.00%", 0, 0, false),
        makeEntryLine(1, "Misc", "9.00%", 0, 0, true),
        makeEntryLine(2, "Odds", "9.00%", 0, 100007, true),
        makeEntryLine(1, "Wide", "9.00%", 0, 100007, true),
    };
    sortEntryLines(lines);
    const std::vector<TPlannedNode> plan = planDepartmentTree(lines);
    ASSERT_EQ(plan.size(), 3u);
    EXPECT_EQ(plan[0].id, 0);
    EXPECT_EQ(plan[2].level, 2);
    EXPECT_EQ(plan[2].id, 100007);
    EXPECT_EQ(plan[2].parent, 0); // under department 0, at depth 1, never a root
}

TEST(DepartmentPlan, NodesCarryTheWholeDescriptionOfTheirLevelAndId)
{
    LocaleGuard locale(englishLocale());
    QList<TEntryLine> lines = {
        makeEntryLine(1, "Kitchen specials of the day", "9.00%", 0, 7, true),
        makeEntryLine(2, "Beer from the local brewery", "9.00%", 7, 7, true), // same id one level down
        makeEntryLine(1, "Bar", "9.00%", 0, 8, true),
    };
    sortEntryLines(lines);
    const QHash<quint64, QString> descriptions = {
        {departmentNodeKey(1, 7), QStringLiteral("Kitchen specials of the day")},
        {departmentNodeKey(2, 7), QStringLiteral("Beer from the local brewery")},
    };
    const std::vector<TPlannedNode> plan = planDepartmentTree(lines, descriptions);
    ASSERT_EQ(plan.size(), 3u);
    EXPECT_EQ(plan[0].caption, QStringLiteral("Bar                      9.00%"));
    EXPECT_EQ(plan[0].description, QString()); // none given
    EXPECT_EQ(plan[1].caption, QStringLiteral("Kitchen specials of      9.00%"));
    EXPECT_EQ(plan[1].description, QStringLiteral("Kitchen specials of the day"));
    EXPECT_EQ(plan[2].description, QStringLiteral("Beer from the local brewery"));
}

// Captions made as the tree gets them, split back into what shows left and right.
TEST(NodeCaption, SplitsIntoTheShownDescriptionAndTheRate)
{
    struct
    {
        QLocale locale;
        const char *description;
        const char *storedRate;
        const char *shownDescription;
        const char *shownRate;
    } cases[] = {
        {englishLocale(), "Bar", "9", "Bar", "9.00%"},
        {commaLocale(), "Food", "13.5", "Food", "13,50%"},
        {commaLocale(), "Getränke 7,00%", "13.5", "Getränke 7,00%", "13,50%"},
        {englishLocale(), "Mix 50% 2 for 1", "9", "Mix 50% 2 for 1", "9.00%"},
        {englishLocale(), "Tax 9.00%", "13.5", "Tax 9.00%", "13.50%"},
        {englishLocale(), "Breakfast Specials 1", "13.5", "Breakfast Specials 1", "13.50%"}, // exactly 20
        {englishLocale(), "12.5% off  Wine list extras", "9", "12.5% off  Wine list", "9.00%"},
        {englishLocale(), "  Wine ", "9", "Wine", "9.00%"},
        {englishLocale(), "", "9", "", "9.00%"},
        {englishLocale(), "Gift vouchers 2023 X", "1234.5", "Gift vouchers 2023 X", "1,234.50%"},
        {commaLocale(), "Gift vouchers 2023 X", "-999.99", "Gift vouchers 2023 X", "-999,99%"},
        {englishLocale(), "No code", "", "No code", "0.00%"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string("[") + c.description + "] in " + c.locale.name().toStdString());
        LocaleGuard locale(c.locale);
        const QString rate = rateText(localeNumberText(QString::fromLatin1(c.storedRate)));
        const TEntryLine line = makeEntryLine(2, QString::fromUtf8(c.description), rate, 1, 2, true);
        const TCaptionParts parts = splitNodeCaption(line.caption);
        EXPECT_EQ(parts.description, QString::fromUtf8(c.shownDescription));
        EXPECT_EQ(parts.rate, QString::fromUtf8(c.shownRate));
    }
}

TEST(RateText, WrittenInTheUsersLocale)
{
    struct
    {
        QLocale locale;
        const char *stored;
        const char *shown;
    } cases[] = {
        {englishLocale(), "9", "9.00%"},        {englishLocale(), "13.5", "13.50%"},
        {englishLocale(), "13.5000", "13.50%"}, {englishLocale(), "1234.5", "1,234.50%"},
        {englishLocale(), "", "0.00%"},         {englishLocale(), "n/a", "0.00%"},
        {commaLocale(), "9", "9,00%"},          {commaLocale(), "13.5", "13,50%"},
        {commaLocale(), "1234.5", "1.234,50%"}, {commaLocale(), "n/a", "0,00%"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.stored) + " in " + c.locale.name().toStdString());
        LocaleGuard locale(c.locale);
        EXPECT_EQ(rateText(localeNumberText(QString::fromLatin1(c.stored))), QString::fromUtf8(c.shown));
    }
}

} // namespace

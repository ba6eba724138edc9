// Padding, Y/N flags and ASCII-only comparison.
#include "util/uUtils.h"
#include "tests/support/QStringPrinter.h"
#include "tests/util/UtilsFixture.h"

#include <QString>

#include <gtest/gtest.h>

#include <string>

namespace {

TEST_F(Utils, PaddingFillsAndCuts)
{
    const struct
    {
        bool left;
        const char *text;
        int width;
        QChar fill;
        bool cut;
        const char *expected;
    } cases[] = {
        {false, "ABC", 5, QLatin1Char('-'), false, "ABC--"},
        {false, "ABCDEFG", 5, QLatin1Char(' '), true, "ABCDE"},
        {false, "ABCDEFG", 5, QLatin1Char(' '), false, "ABCDEFG"},
        {false, "AB", 4, QChar(0), false, "AB  "},
        {false, "", 3, QLatin1Char('x'), true, "xxx"},
        {false, "ABC", 0, QLatin1Char(' '), true, ""},
        {false, "ABC", -2, QLatin1Char(' '), true, ""},
        {true, "42", 5, QLatin1Char('0'), false, "00042"},
        {true, "123456", 5, QLatin1Char('0'), true, "12345"},
        {true, "123456", 5, QLatin1Char('0'), false, "123456"},
        {true, "9%", 10, QLatin1Char(' '), false, "        9%"},
        {true, "ABC", 3, QLatin1Char('0'), true, "ABC"},
        {true, "ABC", -1, QLatin1Char('0'), true, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.left ? "PadLeft " : "PadRight ") + c.text + " to " + std::to_string(c.width));
        const QString text = QString::fromUtf8(c.text);
        const QString result = c.left ? PadLeft(text, c.width, c.fill, c.cut) : PadRight(text, c.width, c.fill, c.cut);
        EXPECT_EQ(result, QString::fromUtf8(c.expected));
    }
    // PadLeft keeps a fill of code 0 as it is
    EXPECT_EQ(PadLeft("A", 2, QChar(0)), QString(QChar(0)) + "A");
}

TEST_F(Utils, FlagsAsText)
{
    EXPECT_EQ(BoolToYN(true), "Y");
    EXPECT_EQ(BoolToYN(false), "N");
    const struct
    {
        QString text;
        bool expected;
    } cases[] = {
        {"Y", true},    {"y", true},   {"N", false},  {"", false},
        {"Yes", false}, {" Y", false}, {"Y ", false}, {QString(QChar(0x0178)), false}, // Ÿ is no ASCII Y
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(YNToBool(c.text), c.expected);
    }
    EXPECT_TRUE(SameTextAscii("ServerPath", "SERVERPATH"));
    EXPECT_FALSE(SameTextAscii(QString::fromUtf8("\xc3\xa9"), QString::fromUtf8("\xc3\x89")));
    EXPECT_FALSE(SameTextAscii("ab", "abc"));
}

} // namespace

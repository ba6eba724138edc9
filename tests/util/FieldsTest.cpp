// Fields of a text at a separator, and the separator stack.
#include "util/Fields.h"
#include "tests/support/QStringPrinter.h"
#include "tests/util/UtilsFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct FieldCase
{
    const char *text;
    const char *separator;
    int index;
    const char *expected;
};

TEST_F(Utils, GetFieldTakesTheIndexedFieldAtTheSeparator)
{
    const FieldCase cases[] = {
        {"123_ABC", "_", 0, "123"},
        {"123_ABC", "_", 1, "ABC"},
        {"123_FISH_CHIPS", "_", 1, "FISH"},
        {"A;B", ";", 5, ""},
        {"A;B;C", ";", 0, "A"},
        {"A;B;C", ";", 2, "C"},
        {"A;B;C", ";", 3, ""},
        {"A;;C", ";", 1, ""},
        {"A;;C", ";", 2, "C"},
        {"ABC", ";", 0, "ABC"},
        {"ABC", ";", 1, ""},
        {"A;B;C", ";", -1, "A"},
        {"", ";", 0, ""},
        {";", ";", 1, ""},
        {"C:\\Pos\\Data", "\\", 2, "Data"},
        {"a::b::c", "::", 1, "b"},
        // overlapping occurrences count as fields; the walk still takes the first one
        {"xaaay", "aa", 1, "ay"},
        {"xaaay", "aa", 2, "ay"},
    };
    for (const FieldCase &c : cases) {
        SCOPED_TRACE(std::string(c.text) + " at " + c.separator + " #" + std::to_string(c.index));
        EXPECT_EQ(GetField(c.index, QString::fromUtf8(c.text), QString::fromUtf8(c.separator)),
                  QString::fromUtf8(c.expected));
    }
}

TEST_F(Utils, CountFieldsCountsEveryOccurrencePlusOne)
{
    const struct
    {
        const char *text;
        const char *separator;
        int expected;
    } cases[] = {
        {"", ";", 1},       {"ABC", ";", 1}, {"A;B;C", ";", 3}, {";;", ";", 3}, {"123_FISH_CHIPS", "_", 3},
        {"xaaay", "aa", 3}, {"ABC", "", 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.text) + " at " + c.separator);
        EXPECT_EQ(CountFields(QString::fromUtf8(c.text), QString::fromUtf8(c.separator)), c.expected);
    }
}

TEST_F(Utils, SeparatorStackGivesTheLastPushedOrAt)
{
    EXPECT_EQ(CurrentSeparator(), "@");
    EXPECT_EQ(CountFieldsCur("A@B"), 2);
    EXPECT_EQ(GetFieldCur(1, "A@B"), "B");

    PushSeparator("\\");
    PushSeparator(";");
    EXPECT_EQ(CurrentSeparator(), ";");
    EXPECT_EQ(GetFieldCur(1, "a\\b;c"), "c");
    PopSeparator();
    EXPECT_EQ(CurrentSeparator(), "\\");
    EXPECT_EQ(CountFieldsCur("a\\b;c"), 2);
    EXPECT_EQ(GetFieldCur(1, "a\\b;c"), "b;c");

    // the one-call forms leave the stack as they found it
    EXPECT_EQ(GetField(1, "x_y", "_"), "y");
    EXPECT_EQ(CountFields("x_y", "_"), 2);
    EXPECT_EQ(CurrentSeparator(), "\\");

    PopSeparator();
    EXPECT_EQ(CurrentSeparator(), "@");
}

TEST_F(Utils, UnpairedPopAndRestartLeaveTheDefault)
{
    PopSeparator();
    EXPECT_EQ(CurrentSeparator(), "@");
    PushSeparator(";");
    UtilsModuleStop();
    UtilsModuleStart();
    EXPECT_EQ(CurrentSeparator(), "@");
}

} // namespace

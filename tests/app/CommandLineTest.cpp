// What the program is asked to do by its arguments, and what it refuses.
#include "app/CommandLine.h"
#include "tests/support/QStringPrinter.h"

#include <gtest/gtest.h>

namespace {

struct CommandCase
{
    const char *name;
    QStringList arguments;
    std::optional<QString> revertRecord;
    const char *refusal; // empty when accepted
    QStringList ignored = {};
};

void PrintTo(const CommandCase &c, std::ostream *os)
{
    *os << c.name;
}

class CommandLine : public ::testing::TestWithParam<CommandCase>
{
};

TEST_P(CommandLine, TellsTheWindowFromTheRevert)
{
    const CommandCase &c = GetParam();
    try {
        const TCommandLine command = parseCommandLine(c.arguments);
        EXPECT_STREQ(c.refusal, "");
        EXPECT_EQ(command.revertRecord, c.revertRecord);
        EXPECT_EQ(command.ignored, c.ignored);
    } catch (const std::exception &e) {
        ASSERT_STRNE(c.refusal, "") << e.what();
        EXPECT_TRUE(QString(e.what()).startsWith(c.refusal)) << e.what();
        EXPECT_TRUE(QString(e.what()).contains("--revert <change record>")) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLine,
    ::testing::Values(CommandCase{"NoArguments", {}, std::nullopt, ""},
                      CommandCase{"Revert", {"--revert", "/b/x.fbk.changes.csv"}, "/b/x.fbk.changes.csv", ""},
                      CommandCase{"RevertWithEquals", {"--revert=x.csv"}, "x.csv", ""},
                      CommandCase{
                          "RevertWithoutARecord", {"--revert"}, std::nullopt, "--revert needs the change record"},
                      CommandCase{"RevertWithAnEmptyRecord", {"--revert="}, std::nullopt, "--revert needs"},
                      CommandCase{"TwoRecords", {"--revert", "a", "--revert", "b"}, std::nullopt, "Only one change"},
                      CommandCase{"UnknownArgumentIsLeftAside", {"--fix"}, std::nullopt, "", {"--fix"}},
                      CommandCase{"ALaunchersArgumentsBesideARevert",
                                  {"/nologo", "--revert", "r.csv", "-psn_0_1"},
                                  "r.csv",
                                  "",
                                  {"/nologo", "-psn_0_1"}}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace

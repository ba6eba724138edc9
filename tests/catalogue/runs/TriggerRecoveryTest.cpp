// The start's look at the department trigger: left off by a changeover that was cut
// short, it is offered to be switched on, and what came of it is told and logged.
#include "catalogue/runs/TriggerRecovery.h"
#include "database/DbConnection.h"
#include "database/DbStatement.h"
#include "database/testing/TestDatabase.h"
#include "tests/catalogue/changeover/ChangeoverSite.h"
#include "tests/catalogue/changeover/DialogLog.h"
#include "tests/support/MainLogSandbox.h"
#include "tests/support/TempRegistry.h"

#include <gtest/gtest.h>

using namespace changeover;

namespace {

enum class Trigger { On, Off, Missing };

struct RecoveryCase
{
    const char *name;
    Trigger before;
    QList<Answer> answers;
    QStringList dialogKinds; // the kind of each dialog shown, in order
    bool activeAfter;
    const char *logged; // in the main log; empty: nothing logged
};

// Test names show the case, not the bytes of the struct.
void PrintTo(const RecoveryCase &c, std::ostream *os)
{
    *os << c.name;
}

class TriggerRecovery : public ::testing::TestWithParam<RecoveryCase>
{
protected:
    void SetUp() override { ASSERT_TRUE(fRegistry.isValid()); }
    static QString mainLog() { return TMainLogSandbox::text(); }
    // What a start does after connecting.
    static void offerOn(const TTestDatabase &db)
    {
        TDbConnection conx;
        conx.setDatabase(db.path());
        conx.open();
        TDbStatement q1(conx);
        offerToSwitchDepartmentTriggerOn(conx, q1);
    }

    TempRegistry fRegistry;
    TMainLogSandbox fLog;
};

TEST_P(TriggerRecovery, OffersToSwitchItOnAndSaysWhatCameOfIt)
{
    const RecoveryCase &c = GetParam();
    TTestDatabase db(siteSql());
    if (c.before == Trigger::Off)
        db.run({"alter trigger TAU_DEPT inactive"});
    if (c.before == Trigger::Missing)
        db.run({"drop trigger TAU_DEPT"});
    TDialogLog dialogs(c.answers);

    offerOn(db);

    QStringList kinds;
    for (const QString &seen : dialogs.seen)
        kinds << seen.section(QLatin1Char(':'), 0, 0);
    EXPECT_EQ(kinds, c.dialogKinds) << dialogs.seen.join("\n").toStdString();
    if (!dialogs.seen.isEmpty())
        EXPECT_TRUE(dialogs.seen[0].contains("A changeover may have been interrupted"));
    if (c.before != Trigger::Missing)
        EXPECT_EQ(departmentTriggerActive(db.path()), c.activeAfter);
    const QString log = mainLog();
    if (*c.logged)
        EXPECT_TRUE(log.contains(c.logged)) << log.toStdString();
    else
        EXPECT_FALSE(log.contains("TAU_DEPT")) << log.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TriggerRecovery,
    ::testing::Values(RecoveryCase{"OnSaysNothing", Trigger::On, {}, {}, true, ""},
                      RecoveryCase{"OffAndSwitchedOn",
                                   Trigger::Off,
                                   {Yes},
                                   {"Question", "Information"},
                                   true,
                                   "TAU_DEPT was found switched off: switched on, as the operator chose."},
                      RecoveryCase{"OffAndLeftOff",
                                   Trigger::Off,
                                   {No},
                                   {"Question", "Warning"},
                                   false,
                                   "TAU_DEPT was found switched off: left switched off, as the operator chose."},
                      // The changeover says so when it needs the trigger.
                      RecoveryCase{"MissingIsLeftToTheChangeover", Trigger::Missing, {}, {}, false, ""}),
    [](const ::testing::TestParamInfo<RecoveryCase> &info) { return std::string(info.param.name); });

// A switch that fails (another program is altering the trigger and has not committed; the
// switch waits the bounded time) is told, and the trigger stays off.
TEST_F(TriggerRecovery, FailingSwitchIsToldAndLogged)
{
    TTestDatabase db(siteSql());
    db.run({"alter trigger TAU_DEPT inactive"});
    TDbConnection holder;
    holder.setDatabase(db.path());
    holder.open();
    holder.executeImmediate("alter trigger TAU_DEPT inactive");
    TDialogLog dialogs({Yes});

    offerOn(db);
    holder.rollback();
    holder.close();

    ASSERT_EQ(dialogs.seen.size(), 2) << dialogs.seen.join("\n").toStdString();
    EXPECT_TRUE(dialogs.seen[1].startsWith("Error: The department trigger TAU_DEPT could not be switched on"))
        << dialogs.seen[1].toStdString();
    EXPECT_TRUE(mainLog().contains("switching it on failed"));
    EXPECT_FALSE(departmentTriggerActive(db.path()));
}

} // namespace

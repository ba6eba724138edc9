// Two copies of the program on one database through the server, as on two PCs of one
// shop: while one is in a run, the other neither switches the department trigger on
// under it nor starts a run of its own; copies that only show the window, or that were
// killed, hold nothing up.
#include "catalogue/changeover/RunMark.h"
#include "catalogue/runs/ChangeoverRun.h"
#include "catalogue/runs/RevertRun.h"
#include "catalogue/runs/TriggerRecovery.h"
#include "database/DbConnection.h"
#include "database/DbStatement.h"
#include "database/testing/TestDatabase.h"
#include "settings/uOrvoReg.h"
#include "tests/catalogue/changeover/ChangeoverSite.h"
#include "tests/catalogue/changeover/DialogLog.h"
#include "tests/catalogue/changeover/PrivateServer.h"
#include "tests/support/ClockGuard.h"
#include "tests/support/MainLogSandbox.h"
#include "tests/support/TempRegistry.h"
#include "util/Errors.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

using namespace changeover;

namespace {

void waitUntil(const std::function<bool()> &done, const char *what)
{
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > 10000)
            throw EPosError(QStringLiteral("Waited in vain until %1").arg(QLatin1String(what)));
        QThread::msleep(20);
    }
}

// Another copy of the program in the middle of a run, in a process of its own: isql
// attached through the server with the run's mark set, until it is killed.
class TMarkedProcess
{
public:
    explicit TMarkedProcess(const QString &path)
    {
        fIsql.start("isql-fb", {"-q", "-user", "SYSDBA", "-password", "quillsong", path});
        fIsql.write("select rdb$set_context('USER_SESSION', 'PORDANE_RUN', 'Changeover') from RDB$DATABASE;\n");
        if (!fIsql.waitForBytesWritten(10000))
            throw EPosError(QStringLiteral("isql did not start: %1").arg(fIsql.errorString()));
    }
    ~TMarkedProcess() { kill(); }

    // As a pulled plug or the task manager would end it.
    void kill()
    {
        fIsql.kill();
        fIsql.waitForFinished();
    }

private:
    QProcess fIsql;
};

class TwoCopies : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(fRegistry.isValid());
        fServer.start();
        TOrvoReg reg;
        reg.SetlastUsedDB("TEST");
        reg.WriteString("Database\\List\\TEST", "ServerPath", path(), 0);
        fWatcher = attach();
    }

    QString path() const { return fServer.pathOf(fDb.path()); }

    std::unique_ptr<TDbConnection> attach() const
    {
        auto conx = std::make_unique<TDbConnection>();
        conx->setDatabase(path());
        conx->open();
        return conx;
    }

    // What a start does after connecting.
    void offerOn(TDbConnection &conx) const
    {
        TDbStatement q1(conx);
        offerToSwitchDepartmentTriggerOn(conx, q1);
    }

    // Proceed on a window attached as conx, Bar ticked; the number of backups it made.
    int proceed(TDbConnection &conx, TChangeoverEnd end)
    {
        TDbStatement q1(conx);
        const TSelection selection = seededSelection({Bar}); // the run holds it by reference
        int backups = 0;
        TChangeoverRun run({conx, q1, selection, kNewVID, kSiteID}, [&](const QString &, const QString &, qint32) {
            ++backups;
            return backupFile();
        });
        EXPECT_EQ(run.run(), end);
        return backups;
    }

    int revert(int exitCode)
    {
        int backups = 0;
        EXPECT_EQ(TRevertRun(backupFile() + ".changes.csv",
                             [&](const QString &, const QString &, qint32) {
                                 ++backups;
                                 return fBackups.filePath("revert.fbk");
                             })
                      .run(),
                  exitCode);
        return backups;
    }

    QString backupFile() const { return fBackups.filePath("changeover.fbk"); }

    bool otherRunSeen() const { return otherRunNow(*fWatcher).has_value(); }

    // What the operator reads while the database is in another copy's run.
    QString refusal(const QString &program) const
    {
        return QStringLiteral("Error: Nothing was backed up and no VAT code was changed. The database \"%1\" is being "
                              "changed from %2 (%3) now; try again once that run has ended.")
            .arg(path(), QSysInfo::machineHostName(), program);
    }

    static QString thisProgram() { return QFileInfo("/proc/self/exe").canonicalFilePath(); }

    TempRegistry fRegistry;
    TMainLogSandbox fLog;
    ClockGuard fClock{QDateTime(QDate(2023, 9, 5), QTime(14, 3, 7))};
    TTestDatabase fDb{siteSql()};
    TPrivateServer fServer;
    QTemporaryDir fBackups;
    std::unique_ptr<TDbConnection> fWatcher; // a third copy, only looking
};

// Bar ticked on its own: only its department row moves.
const QString kBarAloneTicked =
    QStringLiteral("Ticked: 1 department, 0 sub-departments, 0 third-level departments, 0 products.");
const QStringList kBarChanged = {"D1 2/2"};

// True once another attachment runs a department update (here: waits on the held row).
bool departmentUpdateRunning(TDbConnection &monitor)
{
    monitor.startTransaction();
    TDbStatement query(monitor);
    query.setSQL("select count(*) from MON$STATEMENTS where MON$STATE = 1 and MON$ATTACHMENT_ID <> current_connection"
                 " and MON$SQL_TEXT containing 'update TBL_DEPARTMENTS'");
    query.open();
    const bool running = query.field(0).asInt64() > 0;
    query.close();
    monitor.commit();
    return running;
}

// The changeover waits on a department row that another program holds, with the trigger
// off; a copy starting now must not switch it on, or the held update would fire it once
// the row is free. It is told who is changing the database, and the run ends as if alone.
TEST_F(TwoCopies, StartDuringAnotherCopysRunLeavesTheTriggerToIt)
{
    auto holder = attach();
    holder->executeImmediate("update TBL_DEPARTMENTS set REPORT_GROUP = 5 where DEPT_ID = 1");
    auto running = attach();
    TDialogLog dialogs({Yes, Yes}); // the second Yes would switch the trigger on, if asked

    QString watchError;
    std::thread second([&] {
        try {
            auto monitor = attach();
            waitUntil([&] { return departmentUpdateRunning(*monitor); }, "the run waits on the held row");
            auto starting = attach();
            offerOn(*starting);
            EXPECT_FALSE(departmentTriggerActive(path()));
        } catch (const std::exception &e) {
            watchError = errorText(e);
        }
        holder->rollback();
    });
    EXPECT_EQ(proceed(*running, TChangeoverEnd::Done), 1);
    second.join();
    ASSERT_EQ(watchError, QString());

    EXPECT_TRUE(fLog.text().contains("is being changed from")) << fLog.text().toStdString();
    EXPECT_EQ(rows(path()), baselineWith(kBarChanged));
    EXPECT_EQ(departmentLogRows(path()), 0);
    EXPECT_TRUE(departmentTriggerActive(path()));
    EXPECT_FALSE(otherRunSeen()); // the mark went with the run, the attachment stays

    ASSERT_EQ(dialogs.seen.size(), 3) << dialogs.seen.join("\n").toStdString();
    EXPECT_EQ(dialogs.seen[0], confirmWith(kBarAloneTicked));
    EXPECT_EQ(dialogs.seen[1],
              QStringLiteral("Information: The database \"%1\" is being changed from %2 (%3) now; "
                             "the trigger stays off until that run ends.")
                  .arg(path(), QSysInfo::machineHostName(), thisProgram()));
    EXPECT_EQ(dialogs.seen[2], doneWith(1, backupFile()));
}

// Proceed and the revert, while another copy in a process of its own is in a run, refuse
// before the backup and name it; once that process is gone (killed, so it never cleared
// its mark), they go ahead.
TEST_F(TwoCopies, ProceedAndRevertWaitForAnotherCopysRun)
{
    auto window = attach();
    const QString isql = QStringLiteral("/usr/bin/isql-fb");
    {
        TMarkedProcess other(path());
        waitUntil([&] { return otherRunSeen(); }, "the other process is in a run");
        TDialogLog dialogs({Yes});
        EXPECT_EQ(proceed(*window, TChangeoverEnd::WindowStays), 0);
        EXPECT_EQ(dialogs.seen, QStringList({confirmWith(kBarAloneTicked), refusal(isql)}));
        EXPECT_EQ(rows(path()), baselineRows());
        other.kill();
        waitUntil([&] { return !otherRunSeen(); }, "the killed process's mark is gone");
        dialogs.answer({Yes});
        EXPECT_EQ(proceed(*window, TChangeoverEnd::Done), 1);
        EXPECT_EQ(rows(path()), baselineWith(kBarChanged));
    }
    {
        TMarkedProcess other(path());
        waitUntil([&] { return otherRunSeen(); }, "the other process is in a run");
        TDialogLog dialogs({Yes});
        EXPECT_EQ(revert(1), 0);
        ASSERT_EQ(dialogs.seen.size(), 2) << dialogs.seen.join("\n").toStdString();
        EXPECT_EQ(dialogs.seen[1], refusal(isql));
        EXPECT_EQ(rows(path()), baselineWith(kBarChanged));
        other.kill();
        waitUntil([&] { return !otherRunSeen(); }, "the killed process's mark is gone");
        dialogs.answer({Yes});
        EXPECT_EQ(revert(0), 1);
        EXPECT_EQ(rows(path()), baselineRows());
    }
    EXPECT_TRUE(departmentTriggerActive(path()));
}

// Two Proceeds at once: each sets its mark before it looks, so whichever looks second
// sees the first. Here the second has set its mark and not yet looked when the first
// takes its own: the first finds it, stands back and clears its mark at once, and the
// second, looking now, finds no one and goes ahead.
TEST_F(TwoCopies, OfTwoRunsStartingAtOnceOnlyOneGoesAhead)
{
    auto first = attach();
    auto second = attach();
    TDbStatement mark(*second);
    mark.setSQL("select rdb$set_context('USER_SESSION', 'PORDANE_RUN', 'Changeover') from RDB$DATABASE");
    mark.open();
    mark.close();
    second->commit();

    std::optional<TOtherRun> found;
    {
        const TRunMark firstMark(*first, "Changeover");
        found = firstMark.other();
    }
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->host, QSysInfo::machineHostName());
    EXPECT_EQ(found->program, thisProgram());
    EXPECT_FALSE(otherRunNow(*second).has_value());

    const TRunMark secondMark(*second, "Changeover");
    EXPECT_FALSE(secondMark.other().has_value());
    EXPECT_TRUE(otherRunNow(*first).has_value());
}

// Another copy is held off from before the backup until the trigger is on again, but not
// by a final message left open.
TEST_F(TwoCopies, TheMarkLastsFromTheBackupUntilTheTriggerIsOn)
{
    auto window = attach();
    std::optional<bool> seenAtBackup;
    QList<bool> seenAtMessages;
    struct TAnswererReset
    {
        ~TAnswererReset() { setDialogAnswerer({}); }
    } reset;
    setDialogAnswerer([&](const QString &, int type) {
        if (type == mtQuestion)
            return int(Yes);
        seenAtMessages << otherRunSeen();
        return int(mrFirstButton);
    });
    TDbStatement q1(*window);
    const TSelection selection = seededSelection({Bar});
    TChangeoverRun run({*window, q1, selection, kNewVID, kSiteID}, [&](const QString &, const QString &, qint32) {
        seenAtBackup = otherRunSeen();
        return backupFile();
    });
    EXPECT_EQ(run.run(), TChangeoverEnd::Done);
    EXPECT_EQ(seenAtBackup, true);
    EXPECT_EQ(seenAtMessages, QList<bool>{false});
    EXPECT_EQ(rows(path()), baselineWith(kBarChanged));
}

// Copies that only show the window hold nothing up: with another one open, the trigger
// found off is offered and switched on, and Proceed goes ahead.
TEST_F(TwoCopies, CopiesThatOnlyShowDoNotBlockEachOther)
{
    fWatcher->executeImmediate("alter trigger TAU_DEPT inactive");
    fWatcher->commit();
    auto first = attach();
    auto second = attach();
    TDialogLog dialogs({Yes, Yes});

    offerOn(*second);
    offerOn(*first); // nothing left to offer
    EXPECT_EQ(proceed(*first, TChangeoverEnd::Done), 1);

    ASSERT_EQ(dialogs.seen.size(), 4) << dialogs.seen.join("\n").toStdString();
    EXPECT_TRUE(dialogs.seen[0].startsWith("Question: The department trigger TAU_DEPT is switched off."));
    EXPECT_EQ(dialogs.seen[1], "Information: The department trigger TAU_DEPT is switched on again.");
    EXPECT_EQ(dialogs.seen[2], confirmWith(kBarAloneTicked));
    EXPECT_EQ(dialogs.seen[3], doneWith(1, backupFile()));
    EXPECT_EQ(rows(path()), baselineWith(kBarChanged));
    EXPECT_TRUE(departmentTriggerActive(path()));
}

} // namespace

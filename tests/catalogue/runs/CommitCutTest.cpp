// The line to the server cut at the changeover's commit: whether the server got the
// commit or not, the operator is told that the outcome is unknown, the record is written
// all the same and marked so, and a revert with it puts back exactly what did change. A
// line that goes dead without closing is told the same way, within half a minute.
#include "catalogue/changeover/ChangeRecord.h"
#include "catalogue/changeover/ChangeoverUpdate.h"
#include "catalogue/runs/ChangeoverRun.h"
#include "catalogue/runs/RevertRun.h"
#include "database/DbConnection.h"
#include "database/DbStatement.h"
#include "database/LinkWatch.h"
#include "database/testing/TestDatabase.h"
#include "database/testing/relay/LoopbackRelay.h"
#include "settings/uOrvoReg.h"
#include "tests/catalogue/changeover/ChangeoverSite.h"
#include "tests/catalogue/changeover/DialogLog.h"
#include "tests/catalogue/changeover/PrivateServer.h"
#include "tests/support/ClockGuard.h"
#include "tests/support/MainLogSandbox.h"
#include "tests/support/TempRegistry.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>

using namespace changeover;

namespace {

const QString kUnknown = QStringLiteral("Error: It is not known whether the VAT codes were changed: committing the "
                                        "changes failed, so the database holds either all of them or none of them.");
const QString kTriggerLeftOff = QStringLiteral("The department trigger TAU_DEPT is still inactive. The program offers "
                                               "to switch it on at its next start.");
// Bar, the departments below it and its five products.
const QStringList kBarChanged = {"D1 2/2", "S10 2/2", "S11 2/2", "T100 2/2", "P0 2",
                                 "P11 2",  "P12 2",   "P13 2",   "P14 2"};

struct CutCase
{
    const char *name;
    // Done just before the commit is sent.
    std::function<void(TLoopbackRelay &)> cut;
    bool committed;
    bool relayGone;  // the program cannot reconnect: the trigger stays off
    bool lineSilent; // the commit's answer is waited for until the bound, then the server named
    const char *revertReport;
};

void PrintTo(const CutCase &c, std::ostream *os)
{
    *os << c.name;
}

// The rows seen from a fresh attachment, once they are as expected or after ten seconds:
// the server may finish the commit after the client has lost the line.
QStringList rowsOnceThey(const QString &path, const QStringList &expected)
{
    QElapsedTimer waited;
    waited.start();
    QStringList now = rows(path);
    while (now != expected && waited.elapsed() < 10000) {
        QThread::msleep(50);
        now = rows(path);
    }
    return now;
}

class CutLine : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(fRegistry.isValid());
        fServer.start();
        fRelay.start();
        fRelayPort = fRelay.port();
        TOrvoReg reg;
        reg.SetlastUsedDB("TEST");
        reg.WriteString("Database\\List\\TEST", "ServerPath", relayedPath(), 0);
    }
    void TearDown() override { setBeforeUpdateCommit({}); }

    // Every connection of the program goes through the relay.
    QString relayedPath() const { return QStringLiteral("127.0.0.1/%1:%2").arg(fRelayPort).arg(fDb.path()); }
    QString directPath() const { return fServer.pathOf(fDb.path()); }
    QString backup(const char *name) const { return fBackups.filePath(name); }

    // Proceed on Bar, the departments below it and its products, with Yes to the question;
    // beforeCommit, when given, runs on the run's connection just before the commit.
    QStringList changeover(const std::function<void(TDbConnection &)> &beforeCommit = {})
    {
        TDialogLog dialogs({Yes});
        TDbConnection conx;
        conx.setDatabase(relayedPath());
        conx.open();
        TDbStatement q1(conx);
        if (beforeCommit)
            setBeforeUpdateCommit([&] { beforeCommit(conx); });
        TSelection selection = seededSelection({Bar, Beer, Lager, Wine});
        for (qint32 sid : {0, 11, 12, 13, 14})
            setProductTick(selection, sid);
        TChangeoverRun run({conx, q1, selection, kNewVID, kSiteID},
                           [&](const QString &, const QString &, qint32) { return backup(kChangeoverBackup); });
        // Every beforeCommit here cuts the line: the outcome is unknown, which ends the program as failed.
        EXPECT_EQ(run.run(), beforeCommit ? TChangeoverEnd::Failed : TChangeoverEnd::Done);
        setBeforeUpdateCommit({});
        return dialogs.seen;
    }

    // --revert <record> with Yes to its question, its backup named backupName.
    QStringList revert(const QString &record, const char *backupName, int exitCode)
    {
        TDialogLog dialogs({Yes});
        EXPECT_EQ(
            TRevertRun(record, [&](const QString &, const QString &, qint32) { return backup(backupName); }).run(),
            exitCode);
        return dialogs.seen;
    }

    static constexpr const char *kChangeoverBackup = "7-230905140307.fbk";

    TempRegistry fRegistry;
    TMainLogSandbox fLog;
    ClockGuard fClock{QDateTime(QDate(2023, 9, 5), QTime(14, 3, 7))};
    QTemporaryDir fBackups;
    TTestDatabase fDb{siteSql()};
    TPrivateServer fServer;
    TLoopbackRelay fRelay{std::chrono::milliseconds(0), std::uint16_t(fServer.port())};
    std::uint16_t fRelayPort = 0;
};

class CommitCut : public CutLine, public ::testing::WithParamInterface<CutCase>
{
};

TEST_P(CommitCut, TellsTheOutcomeAsUnknownAndTheRecordPutsBackWhatChanged)
{
    const CutCase &c = GetParam();
    const QString record = changeRecordPath(backup(kChangeoverBackup));
    // The client library holds back the frees of statements and sends them just before
    // its next request; a ping sends them, so that the commit goes out on its own.
    QElapsedTimer run;
    run.start();
    QStringList seen = changeover([&](TDbConnection &conx) {
        conx.ping();
        c.cut(fRelay);
    });
    // The operator is told within half a minute, whatever the line does.
    EXPECT_LT(run.elapsed(), 30000);
    ASSERT_EQ(seen.size(), 2) << seen.join("\n").toStdString();
    EXPECT_EQ(seen[1].contains(lostLinkText(relayedPath())), c.lineSilent) << seen[1].toStdString();
    EXPECT_TRUE(seen[1].startsWith(kUnknown + "\r\n\r\n")) << seen[1].toStdString();
    EXPECT_EQ(seen[1].contains(kTriggerLeftOff), c.relayGone) << seen[1].toStdString();
    EXPECT_TRUE(seen[1].endsWith("\r\n\r\nThe program closes now. To find out, start it again: its tree lists what "
                                 "is still at 9%.\r\n\r\nThe change record \""
                                 + record + "\" lists the 9 rows to be changed, marked as of unknown outcome."))
        << seen[1].toStdString();

    const QStringList expected = c.committed ? baselineWith(kBarChanged) : baselineRows();
    EXPECT_EQ(rowsOnceThey(directPath(), expected), expected);
    EXPECT_EQ(departmentTriggerActive(directPath()), !c.relayGone);
    const TChangeRecord recorded = readChangeRecord(record);
    EXPECT_TRUE(recorded.outcomeUnknown);
    EXPECT_EQ(recorded.rows.size(), 9);
    const QString log = TMainLogSandbox::text();
    EXPECT_TRUE(log.contains("Changeover: 9 rows changed; their record is \"" + record + "\".")) << log.toStdString();
    EXPECT_TRUE(log.contains("Changeover: it is not known whether these 9 rows changed: committing the changes "
                             "failed."))
        << log.toStdString();

    // The revert goes the way the changeover went, by the record's own database path.
    if (c.relayGone) {
        fRelay.stop();
        fRelay.start(fRelayPort);
    }
    seen = revert(record, "7-230905150000.fbk", 0);
    ASSERT_EQ(seen.size(), 2) << seen.join("\n").toStdString();
    EXPECT_TRUE(seen[0].contains("lists 9 rows to be changed on 2023-09-05 14:03:07 (Changeover), whose commit "
                                 "failed: they may have changed or not."))
        << seen[0].toStdString();
    EXPECT_TRUE(seen[1].startsWith(QString("Information: ") + c.revertReport)) << seen[1].toStdString();
    EXPECT_EQ(rows(directPath()), baselineRows());
    EXPECT_TRUE(departmentTriggerActive(directPath()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommitCut,
    ::testing::Values(
        // The commit reaches the server, its answer never comes back.
        CutCase{"AfterTheServerGotIt", [](TLoopbackRelay &relay) { relay.cutAtNextRequest(TLineCut::PassOn); }, true,
                false, false,
                "Put back: 9 rows.\r\nLeft as they are, changed since the record was made: 0 rows.\r\n\r\n"},
        // The commit is lost on the way: the server undoes the update.
        CutCase{"BeforeTheServerGotIt", [](TLoopbackRelay &relay) { relay.cutAtNextRequest(TLineCut::Drop); }, false,
                false, false,
                "Put back: 0 rows.\r\nAlready at their old codes (never changed, or put back before): 9 "
                "rows.\r\nLeft as they are, changed since the record was made: 0 rows.\r\n\r\n"},
        // The line stays down, so the trigger cannot be switched back on either.
        CutCase{"AndTheLineStaysDown", [](TLoopbackRelay &relay) { relay.stop(); }, false, true, false,
                "Put back: 0 rows.\r\nAlready at their old codes (never changed, or put back before): 9 "
                "rows.\r\nLeft as they are, changed since the record was made: 0 rows.\r\n\r\n"},
        // The line goes dead without closing: neither the commit's answer nor a new
        // connection ever comes, so only the bounds end the waits.
        CutCase{"AndTheLineGoesDead", [](TLoopbackRelay &relay) { relay.freeze(); }, false, true, true,
                "Put back: 0 rows.\r\nAlready at their old codes (never changed, or put back before): 9 "
                "rows.\r\nLeft as they are, changed since the record was made: 0 rows.\r\n\r\n"}),
    [](const auto &info) { return std::string(info.param.name); });

// Once the line is back, the run reattaches to switch the trigger on; another copy that
// began a run meanwhile keeps it off, and the message names that copy.
TEST_F(CutLine, AnotherCopysRunBegunMeanwhileKeepsTheTriggerOff)
{
    TDbConnection other;
    const QStringList seen = changeover([&](TDbConnection &conx) {
        conx.ping();
        other.setDatabase(directPath());
        other.open();
        TDbStatement mark(other);
        mark.setSQL("select rdb$set_context('USER_SESSION', 'PORDANE_RUN', 'Changeover') from RDB$DATABASE");
        mark.open();
        mark.close();
        other.commit();
        fRelay.cutAtNextRequest(TLineCut::Drop);
    });
    ASSERT_EQ(seen.size(), 2) << seen.join("\n").toStdString();
    EXPECT_TRUE(seen[1].contains(kTriggerLeftOff)) << seen[1].toStdString();
    EXPECT_TRUE(seen[1].contains("Switching the trigger back on failed: The database \"" + relayedPath()
                                 + "\" is being changed from "))
        << seen[1].toStdString();
    EXPECT_TRUE(seen[1].contains("; the trigger stays off until that run ends.")) << seen[1].toStdString();
    EXPECT_FALSE(departmentTriggerActive(directPath()));
}

// A revert whose commit never reaches the server: told as unknown with the way to finish
// it, its own record marked so; the same record given again puts every row back.
TEST_F(CutLine, ARevertCutAtItsCommitIsFinishedByItsRecordGivenAgain)
{
    ASSERT_EQ(changeover().size(), 2);
    ASSERT_EQ(rows(directPath()), baselineWith(kBarChanged));
    const QString record = changeRecordPath(backup(kChangeoverBackup));
    const QString ownRecord = changeRecordPath(backup("7-230905150000.fbk"));

    setBeforeUpdateCommit([&] { fRelay.cutAtNextRequest(TLineCut::Drop); });
    QStringList seen = revert(record, "7-230905150000.fbk", 1);
    setBeforeUpdateCommit({});
    ASSERT_EQ(seen.size(), 2) << seen.join("\n").toStdString();
    EXPECT_TRUE(seen[1].startsWith(kUnknown + "\r\n\r\n")) << seen[1].toStdString();
    EXPECT_TRUE(seen[1].endsWith("\r\n\r\nTo find out, and to finish the revert, give the program the record \""
                                 + record
                                 + "\" again: only rows still at the codes it gave them are put back.\r\n\r\n"
                                   "The change record \""
                                 + ownRecord + "\" lists the 9 rows to be changed, marked as of unknown outcome."))
        << seen[1].toStdString();
    EXPECT_TRUE(readChangeRecord(ownRecord).outcomeUnknown);
    EXPECT_EQ(rows(directPath()), baselineWith(kBarChanged));

    seen = revert(record, "7-230905160000.fbk", 0);
    ASSERT_EQ(seen.size(), 2) << seen.join("\n").toStdString();
    EXPECT_TRUE(seen[1].startsWith("Information: Put back: 9 rows.\r\nLeft as they are, changed since the record "
                                   "was made: 0 rows.\r\n\r\n"))
        << seen[1].toStdString();
    EXPECT_EQ(rows(directPath()), baselineRows());
    EXPECT_TRUE(departmentTriggerActive(directPath()));
}

} // namespace

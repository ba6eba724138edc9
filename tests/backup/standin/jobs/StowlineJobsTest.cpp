// The stand-in component's work on real databases with the embedded engine:
// verified backups, safe restores and transfers, and what they leave behind when
// they fail or are killed.
#include "backup/standin/jobs/BackupJob.h"
#include "backup/standin/jobs/BackupLeftovers.h"
#include "backup/standin/jobs/BackupReport.h"
#include "backup/standin/jobs/RestoreJob.h"
#include "backup/standin/jobs/TransferJob.h"
#include "tests/backup/BackupTestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>

using namespace backuptest;

namespace {

class RecordingProgress : public TJobProgress
{
public:
    void step(const QString &what) override
    {
        // Dies as a killed program does: no unwinding, nothing tidied up.
        if (!killAtStep.isEmpty() && what.startsWith(killAtStep))
            std::raise(SIGKILL);
        if (atStep)
            atStep(what);
        steps << what;
    }
    void message(const QString &line) override
    {
        messages << line;
        if (cancelAfterMessages >= 0 && messages.size() >= cancelAfterMessages)
            cancelled = true;
    }
    void percent(int) override {}
    bool cancelRequested() const override { return cancelled; }

    QStringList steps;
    QStringList messages;
    int cancelAfterMessages = -1;
    bool cancelled = false;
    QString killAtStep;
    std::function<void(const QString &)> atStep;
};

QString errorOf(const std::function<void()> &work)
{
    try {
        work();
    } catch (const EPosError &e) {
        return e.message();
    }
    return QString();
}

class JobsTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(fOut.isValid()); }
    QString out(const QString &name) const { return fOut.filePath(name); }

    LogFolderGuard fLogs;
    QTemporaryDir fOut;
};

TEST(BackupReport, TakesEachTablesLastCount)
{
    TBackupReport report;
    for (const char *line :
         {"gbak:readied database /x.fdb for backup", "gbak:    writing data for table ITEMS",
          "gbak:10000 records written", "gbak:20000 records written", "gbak:25000 records written",
          "gbak:    writing data for table EMPTY_ONE", "gbak:0 records written",
          "gbak:    writing data for table Mixed Name", "gbak:1 records written", "gbak:writing triggers"})
        report.addLine(QString::fromLatin1(line));
    const QMap<QString, qint64> expected{
        {QStringLiteral("ITEMS"), 25000}, {QStringLiteral("EMPTY_ONE"), 0}, {QStringLiteral("Mixed Name"), 1}};
    EXPECT_EQ(report.rowsWritten(), expected);
}

TEST(BackupReport, NamesEveryDifferenceWithTheRestoredCopy)
{
    TBackupReport report;
    for (const char *line : {"gbak: writing data for table A", "gbak:5 records written",
                             "gbak: writing data for table B", "gbak:2 records written"})
        report.addLine(QString::fromLatin1(line));
    const QString a = QStringLiteral("A"), b = QStringLiteral("B"), gtt = QStringLiteral("GTT");
    const struct
    {
        const char *what;
        QMap<QString, qint64> restored;
        QStringList source;
        int differences;
    } cases[] = {
        {"all agree; a table without data comes back empty", {{a, 5}, {b, 2}, {gtt, 0}}, {a, b, gtt}, 0},
        {"a row lost", {{a, 4}, {b, 2}}, {a, b}, 1},
        {"a table without data comes back with rows", {{a, 5}, {b, 2}, {gtt, 3}}, {a, b, gtt}, 1},
        {"a written table missing", {{a, 5}}, {a, b}, 2},
        {"a source table never written nor restored", {{a, 5}, {b, 2}}, {a, b, gtt}, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(report.differences(c.restored, c.source).size(), c.differences)
            << report.differences(c.restored, c.source).join(QLatin1Char('\n')).toStdString();
    }
}

TEST_F(JobsTest, BackupIsVerifiedAndRestoresToTheSameRowCounts)
{
    TTestDatabase db(siteStatements());
    RecordingProgress progress;
    const QString written = RunVerifiedBackup(db.path(), db.path(), out(QStringLiteral("site")), progress);

    EXPECT_EQ(written, out(QStringLiteral("site.fbk")));
    EXPECT_EQ(filesBelow(fOut.path()), QStringList{QStringLiteral("site.fbk")}); // no scratch files left
    EXPECT_TRUE(progress.messages.contains(QStringLiteral("gbak:25000 records written")));
    EXPECT_TRUE(progress.messages.last().startsWith(QStringLiteral("Backup checked:")));

    RecordingProgress restoring;
    RunSafeRestore(written, out(QStringLiteral("copy.fdb")), restoring);
    const QMap<QString, qint64> counts = rowCounts(out(QStringLiteral("copy.fdb")));
    EXPECT_EQ(counts, rowCounts(db.path()));
    EXPECT_EQ(counts.value(QStringLiteral("ITEMS")), 25000);
}

// The check counts every table in one statement, each under its own name, names that
// must be quoted among them.
TEST_F(JobsTest, TheCheckCountsEveryTableOfADatabaseWithManyTables)
{
    QStringList statements{QStringLiteral("create table \"lower case\" (X integer)"),
                           QStringLiteral("create table \"Q\"\"UOTE\" (X integer)"),
                           QStringLiteral("insert into \"lower case\" values (1)"),
                           QStringLiteral("insert into \"Q\"\"UOTE\" values (1)")};
    for (int i = 1; i <= 230; ++i) {
        statements << QStringLiteral("create table T%1 (X integer)").arg(i, 3, 10, QLatin1Char('0'));
        if (i % 7 == 0)
            statements << QStringLiteral("insert into T%1 select 1 from RDB$RELATIONS rows %2")
                              .arg(i, 3, 10, QLatin1Char('0'))
                              .arg(i / 7);
    }
    TTestDatabase db(statements, TTestDatabase::Schema::Empty);
    RecordingProgress progress;
    RunVerifiedBackup(db.path(), db.path(), out(QStringLiteral("many")), progress);
    // 232 tables with 1 + 2 + ... + 32 rows and the quoted ones' two.
    EXPECT_EQ(progress.messages.last(), QStringLiteral("Backup checked: 232 tables, 530 rows, as written."));
}

TEST_F(JobsTest, AGivenExtensionIsKept)
{
    TTestDatabase db;
    RecordingProgress progress;
    EXPECT_EQ(RunVerifiedBackup(db.path(), db.path(), out(QStringLiteral("site.gbk")), progress),
              out(QStringLiteral("site.gbk")));
}

TEST_F(JobsTest, AFailedOrCancelledBackupLeavesNothingBehind)
{
    TTestDatabase db(siteStatements());
    const QString missingDb = out(QStringLiteral("nowhere/missing.fdb"));

    RecordingProgress unreachable;
    const QString error =
        errorOf([&] { RunVerifiedBackup(missingDb, missingDb, out(QStringLiteral("a")), unreachable); });
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(error.contains(QStringLiteral("missing.fdb"))) << error.toStdString();

    // Tests run as root, where permissions stop nothing: a file stands where a folder must go.
    const QString inTheWay = out(QStringLiteral("in-the-way"));
    writeFile(inTheWay, "not a folder");
    RecordingProgress noFolder;
    const QString folderError =
        errorOf([&] { RunVerifiedBackup(db.path(), db.path(), inTheWay + QStringLiteral("/Daily/b"), noFolder); });
    EXPECT_EQ(folderError,
              QStringLiteral("The backup folder \"%1/Daily\" could not be created: Not a directory "
                             "(a file is in the way: \"%1\")")
                  .arg(inTheWay));

    RecordingProgress cancelling;
    cancelling.cancelAfterMessages = 3; // while the backup service runs
    EXPECT_THROW(RunVerifiedBackup(db.path(), db.path(), out(QStringLiteral("c")), cancelling), EAbort);

    EXPECT_EQ(filesBelow(fOut.path()), QStringList{QStringLiteral("in-the-way")});
}

TEST_F(JobsTest, AMissingBackupFolderIsMade)
{
    TTestDatabase db;
    RecordingProgress progress;
    const QString name = out(QStringLiteral("new/folder/site"));
    EXPECT_EQ(RunVerifiedBackup(db.path(), db.path(), name, progress), name + QStringLiteral(".fbk"));
    EXPECT_EQ(filesBelow(fOut.path()), QStringList{QStringLiteral("new/folder/site.fbk")});
}

// A backup of the same second, or a file or link put at the backup's name, stays as it was,
// whether it is there before the backup starts or comes while the backup runs.
TEST_F(JobsTest, WhatIsAtTheBackupsNameIsNeverReplaced)
{
    TTestDatabase db;
    const QString name = out(QStringLiteral("7-230901083005"));
    const QString fbk = name + QStringLiteral(".fbk");
    const QString target = out(QStringLiteral("elsewhere.fbk"));
    const QString before =
        QStringLiteral("The backup cannot be made as \"%1\": a file of that name is already there.").arg(fbk);
    const QString meanwhile =
        QStringLiteral("\"%1.part\" could not be renamed to \"%1\": a file of that name is already there").arg(fbk);
    const struct
    {
        const char *what;
        const char *atStep; // while the backup runs; before it starts when null
        std::function<void()> plant;
        QString error;
    } cases[] = {
        {"a backup of the same second", nullptr, [&] { writeFile(fbk, "planted"); }, before},
        {"a link to no file", nullptr, [&] { QFile::link(target, fbk); }, before},
        {"a file put there while the backup is checked", "Checking the backup", [&] { writeFile(fbk, "planted"); },
         meanwhile},
        {"a link put there while the backup is checked", "Checking the backup", [&] { QFile::link(target, fbk); },
         meanwhile},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        RecordingProgress progress;
        if (c.atStep) {
            progress.atStep = [&](const QString &step) {
                if (step.startsWith(QLatin1String(c.atStep)) && !QFileInfo(fbk).isSymLink() && !QFile::exists(fbk))
                    c.plant();
            };
        } else {
            c.plant();
        }

        EXPECT_EQ(errorOf([&] { RunVerifiedBackup(db.path(), db.path(), name, progress); }), c.error);
        if (QFileInfo(fbk).isSymLink())
            EXPECT_EQ(QFileInfo(fbk).symLinkTarget(), target);
        else
            EXPECT_EQ(fileBytes(fbk), "planted");
        EXPECT_FALSE(QFileInfo::exists(target));
        // Nothing of the backup is left beside it; a link to no file counts as a system entry.
        EXPECT_EQ(QDir(fOut.path()).entryList(QDir::Files | QDir::System | QDir::Hidden),
                  QStringList{QStringLiteral("7-230901083005.fbk")});
        QFile::remove(fbk);
    }
}

using JobsDeathTest = JobsTest;

TEST_F(JobsDeathTest, TheNextBackupIntoTheFolderRemovesWhatAKilledOneLeft)
{
    const QString killedName = out(QStringLiteral("7-230901081530"));
    QTemporaryDir killedProgramsTemp; // for the killed program's database, which it cannot remove itself
    ASSERT_TRUE(killedProgramsTemp.isValid());
    EXPECT_EXIT(
        {
            qputenv("TMPDIR", QFile::encodeName(killedProgramsTemp.path()));
            TTestDatabase db;
            RecordingProgress progress;
            progress.killAtStep = QStringLiteral("Checking the backup: counting");
            RunVerifiedBackup(db.path(), db.path(), killedName, progress);
        },
        ::testing::KilledBySignal(SIGKILL), "");
    // Killed while checking: the backup and its check copy are both there.
    const QStringList left = filesBelow(fOut.path());
    ASSERT_TRUE(left.contains(QStringLiteral("7-230901081530.fbk.part"))
                && left.contains(QStringLiteral("7-230901081530.fbk.part.verify")))
        << left.join(QLatin1Char(' ')).toStdString();

    TTestDatabase db;
    RecordingProgress progress;
    RunVerifiedBackup(db.path(), db.path(), out(QStringLiteral("7-230901091530")), progress);
    EXPECT_EQ(filesBelow(fOut.path()), QStringList{QStringLiteral("7-230901091530.fbk")});
    const QString log = fLogs.readStowlineLog();
    for (const QString &file : left)
        EXPECT_TRUE(log.contains(QStringLiteral("Removed \"%1\"").arg(out(file)))) << log.toStdString();
}

TEST_F(JobsTest, TheSweepRemovesOnlyLeftoversOfKilledBackupsOfThisProgram)
{
    const struct
    {
        const char *name;
        bool removed;
    } files[] = {
        // Left by killed backups under the names the convention gives.
        {"7-230901081530.fbk.part", true},
        {"7-230901081530.fbk.part.verify", true},
        {"230901081530.fbk.part", true},
        {"7-DBVer45.fbk.part.verify", true}, // its pending file already gone
        {"0-2023-08.fbk.part", true},
        // Finished backups.
        {"7-230901081530.fbk", false},
        {"7-DBVer45.fbk", false},
        {"0-2023-08.fbk", false},
        // A backup running now.
        {"8-230901081530.fbk.part", false},
        {"8-230901081530.fbk.part.verify", false},
        // Not written by the backup job, or not under a name the convention gives.
        {"notes.part", false},
        {"notes.fbk.part", false},
        {"7-230901081530.part", false},
        {"7-230901081530.gbk.part", false},
        {"07-230901081530.fbk.part", false},
        {"7-2309010815.fbk.part", false},
        {"copy of 7-230901081530.fbk.part", false},
        {"7-230901081530.fbk.partial", false},
        {"7-230901081530.fbk.part.old", false},
        {"7-230901081530.fbk.part.verify.lock", false},
        {"site.verify", false},
        {"site.lock", false},
    };
    for (const auto &f : files)
        writeFile(out(QString::fromLatin1(f.name)), "data");
    // A folder with a leftover's name stays; a leftover below the folder waits for a
    // backup into its own folder.
    ASSERT_TRUE(QDir(fOut.path()).mkpath(QStringLiteral("9-230901081530.fbk.part")));
    ASSERT_TRUE(QDir(fOut.path()).mkpath(QStringLiteral("2023/09-Sep")));
    writeFile(out(QStringLiteral("2023/09-Sep/7-230901081530.fbk.part")), "data");
    const TBackupRunLock running(out(QStringLiteral("8-230901081530.fbk")));

    RemoveBackupLeftovers(fOut.path());

    const QString log = fLogs.readStowlineLog();
    for (const auto &f : files) {
        SCOPED_TRACE(f.name);
        const QString path = out(QString::fromLatin1(f.name));
        EXPECT_EQ(QFileInfo::exists(path), !f.removed);
        EXPECT_EQ(log.contains(QStringLiteral("Removed \"%1\" (4 bytes)").arg(path)), f.removed) << log.toStdString();
    }
    EXPECT_TRUE(QFileInfo(out(QStringLiteral("9-230901081530.fbk.part"))).isDir());
    EXPECT_TRUE(QFileInfo::exists(out(QStringLiteral("2023/09-Sep/7-230901081530.fbk.part"))));
    EXPECT_FALSE(log.contains(QStringLiteral("could not be removed"))) << log.toStdString();
}

TEST_F(JobsTest, ABackupUnderTheNameOfARunningOneLeavesItAlone)
{
    const QString name = out(QStringLiteral("7-DBVer45.fbk"));
    const TBackupRunLock running(name);
    writeFile(PendingBackupFile(name), "being written");
    RecordingProgress progress;
    const QString error = errorOf(
        [&] { RunVerifiedBackup(out(QStringLiteral("site.fdb")), out(QStringLiteral("site.fdb")), name, progress); });
    EXPECT_EQ(error, QStringLiteral("Another backup is being written to \"%1\" at this moment.").arg(name));
    EXPECT_EQ(fileBytes(PendingBackupFile(name)), "being written");
}

TEST_F(JobsTest, RestoreReplacesTheDatabaseWithTheBackup)
{
    TTestDatabase db(siteStatements());
    const QMap<QString, qint64> before = rowCounts(db.path());
    RecordingProgress progress;
    const QString backup = RunVerifiedBackup(db.path(), db.path(), out(QStringLiteral("site")), progress);
    execute(db.path(), QStringLiteral("delete from ITEMS where ID < 1000"));

    RunSafeRestore(backup, db.path(), progress);
    EXPECT_EQ(rowCounts(db.path()), before);
    EXPECT_FALSE(QFileInfo::exists(db.path() + QStringLiteral(".restoring")));
}

TEST_F(JobsTest, AFailedRestoreLeavesTheDatabaseAsItWas)
{
    TTestDatabase db(siteStatements());
    RecordingProgress progress;
    const QString backup = RunVerifiedBackup(db.path(), db.path(), out(QStringLiteral("site")), progress);
    execute(db.path(), QStringLiteral("delete from ITEMS where ID < 1000"));
    const QMap<QString, qint64> changed = rowCounts(db.path());

    const QString corrupt = out(QStringLiteral("corrupt.fbk"));
    writeFile(corrupt, QByteArray(64 * 1024, 'x'));
    EXPECT_FALSE(errorOf([&] { RunSafeRestore(corrupt, db.path(), progress); }).isEmpty());

    EXPECT_FALSE(errorOf([&] { RunSafeRestore(out(QStringLiteral("absent.fbk")), db.path(), progress); }).isEmpty());

    {
        // Someone still works on the database: it is not swapped from under them.
        TDbConnection user;
        user.setDatabase(db.path());
        user.open();
        const QString inUse = errorOf([&] { RunSafeRestore(backup, db.path(), progress); });
        EXPECT_TRUE(inUse.contains(QStringLiteral("in use"))) << inUse.toStdString();
    }

    EXPECT_EQ(rowCounts(db.path()), changed);
    EXPECT_FALSE(QFileInfo::exists(db.path() + QStringLiteral(".restoring")));
}

TEST_F(JobsTest, TransferCopiesIntoTheFolderThatTheHostNames)
{
    const QString source = out(QStringLiteral("data.fdb"));
    const QByteArray content(3 * 1024 * 1024 + 17, 'd');
    writeFile(source, content);
    QTemporaryDir remote;
    RecordingProgress progress;

    const QString copy = RunTransfer(source, QString(), remote.path(), progress);
    EXPECT_EQ(copy, remote.filePath(QStringLiteral("data.fdb")));
    EXPECT_EQ(fileBytes(copy), content);

    const QString url = QUrl::fromLocalFile(remote.path()).toString();
    EXPECT_EQ(RunTransfer(source, QStringLiteral("review.fdb"), url, progress),
              remote.filePath(QStringLiteral("review.fdb")));
}

TEST_F(JobsTest, TransferToAnyOtherKindOfHostFailsClearly)
{
    const QString source = out(QStringLiteral("data.fdb"));
    writeFile(source, "x");
    RecordingProgress progress;
    const struct
    {
        const char *host;
        const char *says;
    } cases[] = {
        {"review.example.com", "cannot receive files"},
        {"ftp://review.example.com/in", "cannot receive files"},
        {"", "cannot receive files"},
        {"/no/such/folder", "does not exist"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.host);
        const QString error = errorOf([&] { RunTransfer(source, QString(), QString::fromLatin1(c.host), progress); });
        EXPECT_TRUE(error.contains(QString::fromLatin1(c.says))) << error.toStdString();
    }
}

} // namespace

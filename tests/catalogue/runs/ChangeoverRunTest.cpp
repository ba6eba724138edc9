// The run behind Proceed on its own: the date guard, the confirmation, a failing or
// cancelled backup, updates that fail part-way or wait on another program's lock, and the
// record of text in CHARACTER SET NONE.
#include "catalogue/runs/ChangeoverRun.h"
#include "catalogue/changeover/ChangeRecord.h"
#include "catalogue/changeover/ChangeoverUpdate.h"
#include "catalogue/changeover/RevertWalk.h"
#include "database/DbConnection.h"
#include "database/DbStatement.h"
#include "database/testing/TestDatabase.h"
#include "log/uLog.h"
#include "settings/uOrvoReg.h"
#include "tests/catalogue/changeover/BackupWindow.h"
#include "tests/catalogue/changeover/ChangeoverSite.h"
#include "tests/catalogue/changeover/DialogLog.h"
#include "tests/support/ClockGuard.h"
#include "tests/support/FullFolder.h"
#include "tests/support/MainLogSandbox.h"
#include "tests/support/SiteSql.h"
#include "tests/support/TempRegistry.h"
#include "tests/support/TestFiles.h"
#include "util/Clock.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

using namespace changeover;

namespace {

struct BackupCall
{
    QString remote, local;
    qint32 site;
};

class ChangeoverRunTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(fRegistry.isValid()); }

    // Runs on the database (or on a connection never opened) with the given backup result.
    TChangeoverEnd run(const TTestDatabase *db, const QList<Node> &ticked, TSelection selection, bool backupWorks,
                       const QString &refusal = QString())
    {
        for (Node node : ticked)
            selection.setMarked(node, true);
        TDbConnection conx;
        if (db) {
            conx.setDatabase(db->path());
            conx.open();
        }
        TDbStatement q1(conx);
        TChangeoverRun changeover(
            {conx, q1, selection, kNewVID, kSiteID, refusal},
            [&](const QString &remote, const QString &local, qint32 site) -> std::optional<QString> {
                backups.append({remote, local, site});
                if (!backupWorks)
                    return std::nullopt;
                return backupFile();
            });
        return changeover.run();
    }

    // Where the stand-in for the backup says it wrote the backup.
    QString backupFile() const { return fBackupDir.filePath("backup.fbk"); }

    TempRegistry fRegistry;
    QTemporaryDir fBackupDir;
    ClockGuard fClock{QDateTime(QDate(2023, 9, 5), QTime(14, 3, 7))};
    QList<BackupCall> backups;
};

// "Kelloffice" as stored at the root of the program's key; empty when absent.
std::optional<int> storedKelloffice()
{
    TOrvoReg reg;
    QStringList names;
    reg.GetValueNames(QString(), names);
    if (!names.contains(QStringLiteral("Kelloffice"), Qt::CaseInsensitive))
        return std::nullopt;
    return reg.ReadInteger(QString(), QStringLiteral("Kelloffice"), -99);
}

struct GuardCase
{
    const char *name;
    qint64 msBeforeMoment;
    std::optional<int> kelloffice;
    bool allowed;
    std::optional<int> storedAfter;
};

// Test names show the case, not the bytes of the struct.
void PrintTo(const GuardCase &c, std::ostream *os)
{
    *os << c.name;
}

class ChangeoverDateGuard : public ChangeoverRunTest, public ::testing::WithParamInterface<GuardCase>
{
};

TEST_P(ChangeoverDateGuard, RefusesBeforeTheMomentUnlessKellofficeAllows)
{
    const GuardCase &c = GetParam();
    if (c.kelloffice)
        TOrvoReg().WriteInteger(QString(), QStringLiteral("Kelloffice"), *c.kelloffice);
    Clock::setNow(changeoverMoment().addMSecs(-c.msBeforeMoment));
    TDialogLog dialogs({No});

    EXPECT_EQ(run(nullptr, {}, TSelection(), true), TChangeoverEnd::WindowStays);

    EXPECT_EQ(dialogs.seen, QStringList{c.allowed ? confirmWith(kNothingTicked) : kTooEarly});
    EXPECT_EQ(storedKelloffice(), c.storedAfter);
    EXPECT_TRUE(backups.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Cases, ChangeoverDateGuard,
                         ::testing::Values(
                             // From the moment on the setting is not even read, so nothing is stored.
                             GuardCase{"AtTheMomentWithoutKelloffice", 0, std::nullopt, true, std::nullopt},
                             GuardCase{"AtTheMomentWithKellofficeZero", 0, 0, true, 0},
                             GuardCase{"JustBeforeWithoutKellofficeStoresZero", 1, std::nullopt, false, 0},
                             GuardCase{"JustBeforeWithKellofficeZero", 1, 0, false, 0},
                             GuardCase{"JustBeforeWithKellofficeNegative", 1, -3, false, -3},
                             GuardCase{"JustBeforeWithKellofficeOne", 1, 1, true, 1},
                             GuardCase{"LongBeforeWithKellofficeTwo", 86400000, 2, true, 2}),
                         [](const ::testing::TestParamInfo<GuardCase> &info) { return std::string(info.param.name); });

TEST_F(ChangeoverRunTest, BackupFailingEndsTheRunWithTheDatabaseUntouched)
{
    TTestDatabase db(siteSql());
    TSelection selection = seededSelection();
    setProductTick(selection, 21);
    TDialogLog dialogs({Yes});

    EXPECT_EQ(run(&db, {Bar, Beer}, selection, false), TChangeoverEnd::Failed);

    EXPECT_EQ(dialogs.seen,
              QStringList({confirmWith("Ticked: 1 department, 1 sub-department, 0 third-level departments, 1 product."),
                           kBackupFailed}));
    ASSERT_EQ(backups.size(), 1);
    // A local server path is its own local path.
    EXPECT_EQ(backups[0].remote, db.path());
    EXPECT_EQ(backups[0].local, db.path());
    EXPECT_EQ(backups[0].site, kSiteID);
    EXPECT_EQ(rows(db.path()), baselineRows());
    EXPECT_TRUE(departmentTriggerActive(db.path()));
}

// The operator cancels the real backup half-way: told so, not as a failure, nothing
// changed, no backup file left behind, and the program ends as one that was not let go on.
TEST_F(ChangeoverRunTest, CancellingTheBackupChangesNothingAndSaysSo)
{
    TTestDatabase db(siteSql());
    TMainLogSandbox log;
    TDialogLog dialogs({Yes});
    TDbConnection conx;
    conx.setDatabase(db.path());
    conx.open();
    TDbStatement q1(conx);
    const TSelection selection = seededSelection({Bar});
    TChangeoverRun changeover({conx, q1, selection, kNewVID, kSiteID});

    TChangeoverEnd end = TChangeoverEnd::WindowStays;
    {
        NextDialogs backupWindow(cancelRunningBackup());
        end = changeover.run();
    }

    EXPECT_EQ(end, TChangeoverEnd::Cancelled);
    EXPECT_EQ(exitStatusAfter(end), 0);
    EXPECT_EQ(dialogs.seen,
              QStringList({confirmWith("Ticked: 1 department, 0 sub-departments, 0 third-level departments, 0 "
                                       "products."),
                           kBackupCancelled}));
    EXPECT_EQ(rows(db.path()), baselineRows());
    EXPECT_TRUE(departmentTriggerActive(db.path()));
    EXPECT_EQ(filesBelow(QFileInfo(db.path()).absolutePath() + "/Backups"), QStringList());
}

TEST_F(ChangeoverRunTest, BackupGetsTheRegisteredLocalPath)
{
    TTestDatabase db(siteSql());
    {
        TOrvoReg reg;
        reg.WriteString("Database\\List\\SHOP", "ServerPath", db.path(), rmText);
        reg.WriteString("Database\\List\\SHOP", "LocalPath", "/mnt/shop/pos.fdb", rmText);
    }
    TDialogLog dialogs({Yes});

    run(&db, {}, seededSelection(), false);

    ASSERT_EQ(backups.size(), 1);
    EXPECT_EQ(backups[0].local, QStringLiteral("/mnt/shop/pos.fdb"));
}

TEST_F(ChangeoverRunTest, NothingTickedStillBacksUpSwitchesTheTriggerAndReportsDone)
{
    TTestDatabase db(siteSql());
    TDialogLog dialogs({Yes});

    EXPECT_EQ(run(&db, {}, seededSelection(), true), TChangeoverEnd::Done);

    EXPECT_EQ(dialogs.seen, QStringList({confirmWith(kNothingTicked), doneWith(0, backupFile())}));
    EXPECT_EQ(backups.size(), 1);
    EXPECT_EQ(rows(db.path()), baselineRows());
    EXPECT_TRUE(departmentTriggerActive(db.path()));
}

// The window could not read the database, or it has no 9 % code: nothing is asked and
// no backup folder is made.
TEST_F(ChangeoverRunTest, RefusalComesBeforeEverythingElse)
{
    Clock::setNow(changeoverMoment().addDays(-1));
    TDialogLog dialogs({Yes});

    EXPECT_EQ(run(nullptr, {Bar}, seededSelection(), true, "Nothing can be changed: no database."),
              TChangeoverEnd::WindowStays);

    EXPECT_EQ(dialogs.seen, QStringList{"Error: Nothing can be changed: no database."});
    EXPECT_TRUE(backups.isEmpty());
    EXPECT_EQ(storedKelloffice(), std::nullopt);
}

// Without a main log the changed rows would be listed nowhere should their record fail:
// refused before the question, the backup and any change, naming the folder and why.
TEST_F(ChangeoverRunTest, AMainLogThatCannotBeWrittenIsRefusedBeforeAnythingIsDone)
{
    TTestDatabase db(siteSql());
    QTemporaryDir programFolder;
    writeFile(programFolder.filePath("logs"), "a file where the log folder goes");
    SetLogProgramFile(programFolder.filePath("Pordane2023Hospitality"));
    TDialogLog dialogs({Yes});

    const TChangeoverEnd end = run(&db, {Bar, Beer}, seededSelection(), true);
    SetLogProgramFile(QString());

    EXPECT_EQ(end, TChangeoverEnd::WindowStays);
    EXPECT_EQ(dialogs.seen,
              QStringList{"Error: Nothing was backed up and no VAT code was changed: the changeover needs the main "
                          "log, which names its change record and lists the changed rows should the record "
                          "fail.\r\n\r\nThe log folder \""
                          + programFolder.filePath("logs")
                          + "\" cannot be written: a file of that name is in the way."});
    EXPECT_TRUE(backups.isEmpty());
    EXPECT_EQ(rows(db.path()), baselineRows());
    EXPECT_TRUE(departmentTriggerActive(db.path()));
}

// The database lacks the trigger the run must switch off: refused before any backup.
TEST_F(ChangeoverRunTest, AMissingTriggerIsRefusedBeforeTheBackup)
{
    TTestDatabase db(siteSql());
    db.run({"drop trigger TAU_DEPT"});
    TDialogLog dialogs({Yes});

    EXPECT_EQ(run(&db, {Bar}, seededSelection(), true), TChangeoverEnd::WindowStays);

    EXPECT_TRUE(backups.isEmpty());
    ASSERT_EQ(dialogs.seen.size(), 2) << dialogs.seen.join("\n").toStdString();
    EXPECT_TRUE(dialogs.seen[1].startsWith(
        "Error: Nothing was backed up and no VAT code was changed: the database has no department trigger TAU_DEPT"))
        << dialogs.seen[1].toStdString();
    EXPECT_EQ(rows(db.path()), baselineRows());
}

// Where the record cannot go after the codes have changed: that is still a changeover that
// happened, told as one, with the list in the main log instead.
enum class RecordPlace { FolderGone, DiskFull, NameTaken };

struct UnwrittenCase
{
    const char *name;
    RecordPlace place;
    const char *reason; // why the record could not be written
};

void PrintTo(const UnwrittenCase &c, std::ostream *os)
{
    *os << c.name;
}

class UnwrittenRecord : public ChangeoverRunTest, public ::testing::WithParamInterface<UnwrittenCase>
{
};

TEST_P(UnwrittenRecord, DoesNotTurnSuccessIntoFailureAndTheMainLogListsTheRows)
{
    const UnwrittenCase &c = GetParam();
    TFullFolder full;
    QString backup = backupFile();
    if (c.place == RecordPlace::FolderGone)
        backup = "/gone/backup.fbk";
    if (c.place == RecordPlace::DiskFull) {
        if (!full.available())
            GTEST_SKIP() << full.reason().toStdString();
        backup = full.filePath("backup.fbk");
    }
    const QString record = changeRecordPath(backup);
    if (c.place == RecordPlace::NameTaken)
        writeFile(record, "planted");
    TMainLogSandbox log;
    TTestDatabase db(siteSql());
    TSelection selection = seededSelection();
    setProductTick(selection, 21);
    TDialogLog dialogs({Yes});
    TDbConnection conx;
    conx.setDatabase(db.path());
    conx.open();
    TDbStatement q1(conx);
    TChangeoverRun changeover({conx, q1, selection, kNewVID, kSiteID},
                              [&](const QString &, const QString &, qint32) { return backup; });

    EXPECT_EQ(changeover.run(), TChangeoverEnd::Done);

    ASSERT_EQ(dialogs.seen.size(), 2);
    EXPECT_TRUE(dialogs.seen[1].startsWith("Information: Done.")) << dialogs.seen[1].toStdString();
    EXPECT_TRUE(dialogs.seen[1].endsWith(
        QStringLiteral("1 row changed, but their record could not be written (The change record \"%1\" could not be "
                       "written: %2); the main log lists them instead.")
            .arg(record, QString::fromUtf8(c.reason))))
        << dialogs.seen[1].toStdString();
    EXPECT_EQ(rows(db.path()), baselineWith({"P21 2"}));
    EXPECT_TRUE(log.text().contains("Product,21,Soup,1,9,,2,13.5,")) << log.text().toStdString();
    EXPECT_FALSE(log.text().contains("their record is")) << log.text().toStdString();
    EXPECT_EQ(fileBytes(record), c.place == RecordPlace::NameTaken ? QByteArray("planted") : QByteArray());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnwrittenRecord,
    ::testing::Values(UnwrittenCase{"FolderGone", RecordPlace::FolderGone, "No such file or directory"},
                      UnwrittenCase{"DiskFull", RecordPlace::DiskFull, "No space left on device"},
                      UnwrittenCase{"NameTaken", RecordPlace::NameTaken, "a file of that name is already there"}),
    [](const auto &info) { return std::string(info.param.name); });

// The description of one row as its stored bytes, one character a byte.
QString storedDescription(const TTestDatabase &db, const char *table, const char *idColumn, int id)
{
    TDbConnection conx;
    conx.setDatabase(db.path());
    conx.open();
    TDbStatement query(conx);
    query.setSQL(QStringLiteral("select cast(DESCRIPTION as varchar(80) character set octets) from %1 where %2 = %3")
                     .arg(QLatin1String(table), QLatin1String(idColumn))
                     .arg(id));
    query.open();
    return query.field(0).asText();
}

QStringList namedRows(const QList<TChangedRow> &rows)
{
    QStringList named;
    for (const TChangedRow &row : rows)
        named << QStringLiteral("%1 %2 %3").arg(changedTableName(row.table)).arg(row.id).arg(row.description);
    return named;
}

// A back office from before Unicode keeps Windows-1252 in text of CHARACTER SET NONE: the
// record, and the revert's, name its rows as the operator knows them, and the rows keep
// their own bytes.
TEST_F(ChangeoverRunTest, TextInCharacterSetNoneIsRecordedAsTheBackOfficeShowsIt)
{
    using site::storedBytes;
    TTestDatabase db(siteSql()
                         + QStringList{storedBytes("TBL_DEPARTMENTS", "DEPT_ID", 1, "Caf\xE9"),
                                       storedBytes("TBL_PRODUCTS", "SID", 21,
                                                   "Cr\xE8me br\xFBl\xE9"
                                                   "e")},
                     TTestDatabase::Schema::TextInNone);
    TSelection selection = seededSelection();
    setProductTick(selection, 21);
    TDialogLog dialogs({Yes});

    EXPECT_EQ(run(&db, {Bar}, selection, true), TChangeoverEnd::Done);

    const TChangeRecord record = readChangeRecord(changeRecordPath(backupFile()));
    EXPECT_EQ(namedRows(record.rows), QStringList({"Department 1 Café", "Product 21 Crème brûlée"}));

    TDbConnection conx;
    conx.setDatabase(db.path());
    conx.open();
    const TRevertWalk revert = runRevert(conx, record.rows);
    conx.commit();
    EXPECT_EQ(namedRows(revert.putBack), namedRows(record.rows));
    EXPECT_EQ(rows(db.path()), baselineRows());

    EXPECT_EQ(storedDescription(db, "TBL_DEPARTMENTS", "DEPT_ID", 1), QString::fromLatin1("Caf\xE9"));
    EXPECT_EQ(storedDescription(db, "TBL_PRODUCTS", "SID", 21),
              QString::fromLatin1("Cr\xE8me br\xFBl\xE9"
                                  "e"));
}

// What goes wrong in the middle of the updates, and what the operator must read.
enum class Fault { RowRefused, RowLocked };

struct FailureCase
{
    const char *name;
    Fault fault;
    const char *databaseSays;
};

// Test names show the case, not the bytes of the struct.
void PrintTo(const FailureCase &c, std::ostream *os)
{
    *os << c.name;
}

class ChangeoverUpdateFailure : public ChangeoverRunTest, public ::testing::WithParamInterface<FailureCase>
{
};

TEST_P(ChangeoverUpdateFailure, IsUndoneWholeAndReportedNeverDone)
{
    const FailureCase &c = GetParam();
    TTestDatabase db(siteSql());
    // Soup is the last row of the walk: department 1, Stout and Nuts change before it.
    TSelection selection = seededSelection();
    for (qint32 sid : {11, 13, 21})
        setProductTick(selection, sid);

    TDbConnection holder;
    if (c.fault == Fault::RowRefused) {
        db.runScript("create exception E_REFUSED 'Soup may not change';\n"
                     "set term ^;\n"
                     "create trigger TBU_PRODUCTS for TBL_PRODUCTS before update as\n"
                     "begin if (new.SID = 21) then exception E_REFUSED; end^\n"
                     "set term ;^\n");
    } else {
        // Another program has changed Soup and not committed yet.
        holder.setDatabase(db.path());
        holder.open();
        holder.executeImmediate("update TBL_PRODUCTS set PRICE = 2.5 where SID = 21");
    }
    TDialogLog dialogs({Yes});

    EXPECT_EQ(run(&db, {Bar}, selection, true), TChangeoverEnd::Failed);
    if (holder.isOpen())
        holder.rollback();

    ASSERT_EQ(dialogs.seen.size(), 2) << dialogs.seen.join("\n").toStdString();
    EXPECT_EQ(dialogs.seen[0],
              confirmWith("Ticked: 1 department, 0 sub-departments, 0 third-level departments, 3 products."));
    // Nothing changed, so there is no record.
    EXPECT_FALSE(QFile::exists(backupFile() + ".changes.csv"));
    EXPECT_TRUE(dialogs.seen[1].startsWith("Error: No VAT code was changed")) << dialogs.seen[1].toStdString();
    EXPECT_TRUE(dialogs.seen[1].contains(c.databaseSays)) << dialogs.seen[1].toStdString();
    EXPECT_EQ(rows(db.path()), baselineRows());
    EXPECT_EQ(departmentLogRows(db.path()), 0);
    EXPECT_TRUE(departmentTriggerActive(db.path()));
}

INSTANTIATE_TEST_SUITE_P(Cases, ChangeoverUpdateFailure,
                         ::testing::Values(FailureCase{"RowRefusedPartWay", Fault::RowRefused, "Soup may not change"},
                                           // Waits the bounded time, then gives up naming the lock.
                                           FailureCase{"RowLockedByAnotherConnection", Fault::RowLocked,
                                                       "Another program holds a lock on a row to be changed"}),
                         [](const ::testing::TestParamInfo<FailureCase> &info) {
                             return std::string(info.param.name);
                         });

} // namespace

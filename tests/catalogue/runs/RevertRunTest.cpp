// The revert on a real database from records that must not put back what they list: a
// row whose id now holds another product, a record edited or cut short since it was
// written, an old code the database no longer has; and a record from before records
// carried a digest.
#include "catalogue/runs/RevertRun.h"
#include "catalogue/changeover/ChangeRecord.h"
#include "database/testing/TestDatabase.h"
#include "settings/uOrvoReg.h"
#include "tests/catalogue/changeover/BackupWindow.h"
#include "tests/catalogue/changeover/ChangeoverSite.h"
#include "tests/catalogue/changeover/DialogLog.h"
#include "tests/support/ClockGuard.h"
#include "tests/support/MainLogSandbox.h"
#include "tests/support/TempRegistry.h"
#include "tests/support/TestFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace changeover;

namespace {

const QDateTime kMade(QDate(2023, 9, 5), QTime(14, 3, 7));

TChangedRow product(qint32 id, const QString &description)
{
    return {TChangedTable::Product, id, description, 1, std::nullopt, kNewVID, std::nullopt};
}

TChangedRow department(TChangedTable table, qint32 id, const QString &description)
{
    return {table, id, description, 1, 1, kNewVID, kNewVID};
}

class RevertRunTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(fRegistry.isValid());
        TOrvoReg reg;
        reg.SetlastUsedDB("TEST");
        reg.WriteString("Database\\List\\TEST", "ServerPath", fDb.path(), 0);
    }

    // The site after a changeover of Bar and the rows below it, and its record, naming the
    // database as given (the connection's path when empty).
    QString changeover(const QList<TChangedRow> &rows, const QString &database = QString())
    {
        fDb.run({"update TBL_DEPARTMENTS set VAT_ID = 2, PURCH_VAT = 2 where DEPT_ID = 1",
                 "update TBL_SUB_DEPARTMENTS set SALES_VID = 2, PURCH_VID = 2 where SUB_DEPT in (10, 11)",
                 "update TBL_L3DEPARTMENTS set SALES_VID = 2, PURCH_VID = 2 where L3DID = 100",
                 "update TBL_PRODUCTS set VAT_ID = 2 where SID in (0, 11, 12, 13, 14)"});
        TChangeRecord record;
        record.database = database.isEmpty() ? fDb.path() : database;
        record.siteID = kSiteID;
        record.time = kMade;
        record.program = "Pordane 2023 1.0";
        record.madeBy = "Changeover";
        record.rows = rows;
        record.rates = {{1, "9"}, {kNewVID, "13.5"}};
        const QString path = fDir.filePath("7-230905140307.fbk.changes.csv");
        writeChangeRecord(path, record);
        return path;
    }

    static QList<TChangedRow> barRows()
    {
        return {department(TChangedTable::Department, 1, "Bar"),
                department(TChangedTable::SubDepartment, 10, "Beer"),
                department(TChangedTable::SubDepartment, 11, "Wine"),
                department(TChangedTable::ThirdLevel, 100, "Lager"),
                product(0, "Zero"),
                product(11, "Stout"),
                product(12, "Pils"),
                product(13, "Nuts"),
                product(14, "Merlot")};
    }

    static QStringList barChanged()
    {
        return {"D1 2/2", "S10 2/2", "S11 2/2", "T100 2/2", "P0 2", "P11 2", "P12 2", "P13 2", "P14 2"};
    }

    // The revert with Yes to its question; the dialogs it showed.
    QStringList revert(const QString &record, int exitCode)
    {
        TDialogLog dialogs({Yes});
        EXPECT_EQ(TRevertRun(record,
                             [&](const QString &, const QString &, qint32) {
                                 ++fBackups;
                                 return fDir.filePath("revert.fbk");
                             })
                      .run(),
                  exitCode);
        return dialogs.seen;
    }

    TempRegistry fRegistry;
    TMainLogSandbox fLog;
    TTestDatabase fDb{siteSql()};
    QTemporaryDir fDir;
    ClockGuard fClock{QDateTime(QDate(2023, 9, 6), QTime(9, 0, 0))};
    int fBackups = 0;
};

// The record names the database through a link to its file: the same database, put back.
TEST_F(RevertRunTest, ARecordNamingTheDatabaseThroughALinkIsPutBack)
{
    const QString link = fDir.filePath("pos-link.fdb");
    ASSERT_TRUE(QFile::link(fDb.path(), link));
    const QString record = changeover(barRows(), link);

    const QStringList seen = revert(record, 0);

    ASSERT_EQ(seen.size(), 2) << seen.join("\n").toStdString();
    EXPECT_TRUE(seen[1].startsWith("Information: Put back: 9 rows.")) << seen[1].toStdString();
    EXPECT_EQ(rows(fDb.path()), baselineRows());
}

// The operator cancels the revert's real backup half-way: told so, not as a failure, the
// rows left as the changeover made them, no backup file left behind, and exit status 0.
TEST_F(RevertRunTest, CancellingTheBackupChangesNothingAndSaysSo)
{
    const QString record = changeover(barRows());
    TDialogLog dialogs({Yes});
    int exitCode = -1;
    {
        NextDialogs backupWindow(cancelRunningBackup());
        exitCode = TRevertRun(record).run();
    }

    EXPECT_EQ(exitCode, 0);
    ASSERT_EQ(dialogs.seen.size(), 2) << dialogs.seen.join("\n").toStdString();
    EXPECT_TRUE(dialogs.seen[0].startsWith("Question: ")) << dialogs.seen[0].toStdString();
    EXPECT_EQ(dialogs.seen[1], kBackupCancelled);
    EXPECT_EQ(rows(fDb.path()), baselineWith(barChanged()));
    EXPECT_EQ(filesBelow(QFileInfo(fDb.path()).absolutePath() + "/Backups"), QStringList());
}

// Without a main log the rows put back would be listed nowhere should the revert's own
// record fail: refused before its question, the backup and any change.
TEST_F(RevertRunTest, AMainLogThatCannotBeWrittenIsRefusedBeforeAnythingIsDone)
{
    const QString record = changeover(barRows());
    QTemporaryDir programFolder;
    writeFile(programFolder.filePath("logs"), "a file where the log folder goes");
    SetLogProgramFile(programFolder.filePath("Pordane2023Hospitality"));

    const QStringList seen = revert(record, 1);
    SetLogProgramFile(QString());

    EXPECT_EQ(seen,
              QStringList{"Error: Nothing was changed: the revert needs the main log, which names its change "
                          "record and lists the rows put back should the record fail.\r\n\r\nThe log "
                          "folder \""
                          + programFolder.filePath("logs")
                          + "\" cannot be written: a file of that name is in "
                            "the way."});
    EXPECT_EQ(fBackups, 0);
    EXPECT_EQ(rows(fDb.path()), baselineWith(barChanged()));
}

// Since the record, product 14 was deleted and its number given to another product, and
// sub-department 11 renamed: neither is the row the record names, though both still hold
// its codes. Descriptions the record had to guard (a formula start, a line break) are
// still the same rows.
TEST_F(RevertRunTest, ARowWhoseDescriptionChangedSinceIsLeftAlone)
{
    fDb.run({"update TBL_PRODUCTS set DESCRIPTION = '=Nuts' where SID = 13",
             "update TBL_PRODUCTS set DESCRIPTION = 'Pils' || ascii_char(13) || ascii_char(10) || 'draught' "
             "where SID = 12"});
    QList<TChangedRow> recorded = barRows();
    recorded[7].description = "=Nuts";
    recorded[6].description = "Pils\r\ndraught";
    const QString record = changeover(recorded);
    fDb.run({"update TBL_PRODUCTS set DESCRIPTION = 'House red' where SID = 14",
             "update TBL_SUB_DEPARTMENTS set DESCRIPTION = 'Wines' where SUB_DEPT = 11"});

    const QStringList seen = revert(record, 0);
    ASSERT_EQ(seen.size(), 2) << seen.join("\n").toStdString();
    EXPECT_TRUE(seen[1].startsWith("Information: Put back: 7 rows.\r\nLeft as they are, changed since the record "
                                   "was made: 2 rows:\r\n    Sub-department 11 Wine\r\n    Product 14 Merlot\r\n"))
        << seen[1].toStdString();
    EXPECT_EQ(rows(fDb.path()), baselineWith({"S11 2/2", "P14 2"}));
    const QString log = TMainLogSandbox::text();
    EXPECT_TRUE(log.contains("changed since the record was made:")) << log.toStdString();
    EXPECT_TRUE(log.contains("Sub-department 11 Wine") && log.contains("Product 14 Merlot")) << log.toStdString();
}

struct EditCase
{
    const char *name;
    QByteArray from, to;
    const char *says;
};

void PrintTo(const EditCase &c, std::ostream *os)
{
    *os << c.name;
}

class EditedRecord : public RevertRunTest, public ::testing::WithParamInterface<EditCase>
{
};

// Refused before the question and the backup, the database untouched.
TEST_P(EditedRecord, IsRefusedBeforeAnyBackup)
{
    const EditCase &c = GetParam();
    const QString record = changeover(barRows());
    QFile file(record);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    file.close();
    ASSERT_TRUE(bytes.contains(c.from));
    bytes.replace(c.from, c.to);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    file.close();

    const QStringList seen = revert(record, 1);
    ASSERT_EQ(seen.size(), 1) << seen.join("\n").toStdString();
    EXPECT_TRUE(seen[0].startsWith("Error: The change record \"" + record + "\" cannot be used: "))
        << seen[0].toStdString();
    EXPECT_TRUE(seen[0].contains(c.says)) << seen[0].toStdString();
    EXPECT_EQ(fBackups, 0);
    EXPECT_EQ(rows(fDb.path()), baselineWith(barChanged()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EditedRecord,
    ::testing::Values(
        // Merlot "back" to 23 % instead of 9 %.
        EditCase{"ACodeEdited", "Product,14,Merlot,1,9", "Product,14,Merlot,3,9",
                 "line 9: its rows do not match their digest: the record was changed after it was written"},
        // The id's new product named in the record, to get past the description check.
        EditCase{"ADescriptionEdited", "Product,14,Merlot,", "Product,14,House red,",
                 "line 9: its rows do not match their digest"},
        EditCase{"ARowCutShort", "Product,13,Nuts,1,9,,2,13.5,", "Product,13,Nuts", "line 19: it has 3 fields, not 9"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(RevertRunTest, AnOldCodeTheDatabaseNoLongerHasIsRefusedBeforeAnyBackup)
{
    QList<TChangedRow> recorded = barRows();
    recorded[5].oldSales = 4;
    const QString record = changeover(recorded);

    const QStringList seen = revert(record, 1);
    ASSERT_EQ(seen.size(), 1) << seen.join("\n").toStdString();
    EXPECT_EQ(seen[0],
              "Error: The change record \"" + record
                  + "\" cannot be used: it gives Product 11 Stout the VAT code 4 back, which the database no longer "
                    "has.\r\n\r\nNothing was changed.");
    EXPECT_EQ(fBackups, 0);
    EXPECT_EQ(rows(fDb.path()), baselineWith(barChanged()));
}

// Yesterday's record, written before records had a digest, still puts the changeover back
// while the file is as the program wrote it, and is refused once saved again.
TEST_F(RevertRunTest, ARecordWithoutADigestIsPutBackOnlyWhileTheFileIsAsWritten)
{
    const QString record = changeover(barRows());
    QFile file(record);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    file.close();
    const qsizetype digest = bytes.indexOf("Digest,");
    bytes.remove(digest, bytes.indexOf("\r\n", digest) + 2 - digest);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    file.close();

    QStringList seen = revert(record, 1);
    ASSERT_EQ(seen.size(), 1) << seen.join("\n").toStdString();
    EXPECT_TRUE(seen[0].startsWith("Error: The change record \"" + record
                                   + "\" cannot be used: it has no digest of its rows, and the file was written at "))
        << seen[0].toStdString();
    EXPECT_TRUE(seen[0].contains("not when the record was made (2023-09-05 14:03:07): the record was changed after it "
                                 "was written."))
        << seen[0].toStdString();
    EXPECT_EQ(fBackups, 0);

    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(kMade.addSecs(1), QFileDevice::FileModificationTime));
    file.close();
    seen = revert(record, 0);
    ASSERT_EQ(seen.size(), 2) << seen.join("\n").toStdString();
    EXPECT_TRUE(seen[1].startsWith("Information: Put back: 9 rows.")) << seen[1].toStdString();
    EXPECT_EQ(rows(fDb.path()), baselineRows());
}

} // namespace

// The record of a changeover made through the window, checked line by line against the
// rows, then put back with the revert (a row changed by hand since left alone), and the
// revert itself put back from its own record; a site with two 9 % codes moved and put
// back. Real backups throughout.
#include "catalogue/core/ProductTable.h"
#include "catalogue/runs/RevertRun.h"
#include "database/testing/TestDatabase.h"
#include "settings/uOrvoReg.h"
#include "tests/catalogue/changeover/ChangeoverSite.h"
#include "tests/catalogue/changeover/DialogLog.h"
#include "tests/catalogue/window/MainWindowFixture.h"
#include "tests/support/ClockGuard.h"
#include "tests/support/SiteSql.h"
#include "tests/support/TestFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

using namespace changeover;

namespace {

class ChangeRecordWindow : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        fDb = std::make_unique<TTestDatabase>(siteSql());
        TOrvoReg().WriteString("Database\\List\\TEST", "LocalPath", fDb->path(), rmText);
    }
    QString backupFolder() const { return QFileInfo(fDb->path()).absolutePath() + "/Backups"; }
    // The change records below the backup folders, oldest first.
    QStringList records() const
    {
        QStringList found;
        for (const QString &file : filesBelow(backupFolder()))
            if (file.endsWith(".changes.csv"))
                found << backupFolder() + "/" + file;
        return found;
    }
    // The record's lines without its byte-order mark; each must end in CR LF.
    static QStringList recordLines(const QString &path)
    {
        const QByteArray bytes = fileBytes(path);
        EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
        EXPECT_TRUE(bytes.endsWith("\r\n"));
        EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n"));
        QStringList lines = QString::fromUtf8(bytes.mid(3)).split("\r\n");
        lines.removeLast();
        return lines;
    }

    ClockGuard fClock{QDateTime(QDate(2023, 9, 5), QTime(14, 3, 7))};
    std::unique_ptr<TTestDatabase> fDb;
};

const QString kColumns = "Table,Id,Description,Old sales code,Old sales rate,Old purchase code,New sales code,"
                         "New sales rate,New purchase code";

TEST_F(ChangeRecordWindow, RecordsTheChangeoverAndPutsItBackAndForth)
{
    // Through the window: Bar ticked by its image (everything below it comes along),
    // Soup ticked alone under the unticked Kitchen.
    TShownMain &w = showOn(*fDb);
    ASSERT_EQ(w.error, QString());
    QTreeWidget *tv = w.departmentTree();
    QTest::mouseClick(tv->viewport(), Qt::LeftButton, {}, w.stateImageRect(tv->topLevelItem(0)).center());
    setProductTick(w.selection(), 21);
    {
        TDialogLog dialogs({Yes});
        QTest::mouseClick(w.findChild<QPushButton *>("btnProceed"), Qt::LeftButton);
        ASSERT_EQ(dialogs.seen.size(), 2) << dialogs.seen.join("\n").toStdString();
    }
    const QStringList changedRows = {"D1 2/2", "S10 2/2", "S11 2/2", "T100 2/2", "P0 2",
                                     "P11 2",  "P12 2",   "P13 2",   "P14 2",    "P21 2"};
    ASSERT_EQ(rows(fDb->path()), baselineWith(changedRows));

    ASSERT_EQ(records().size(), 1);
    const QString changeover = records().first();
    QStringList lines = recordLines(changeover);
    ASSERT_EQ(lines.size(), 21);
    EXPECT_EQ(lines.mid(0, 7),
              QStringList({"Pordane 2023 change record", "Database," + fDb->path(), "Site,7",
                           "Time,2023-09-05 14:03:07", "Program,Pordane 2023 1.0", "Made by,Changeover", "Rows,10"}));
    EXPECT_EQ(lines[7], "Texts,\"As stored, line breaks included; an apostrophe before a text is not part of it\"");
    EXPECT_TRUE(QRegularExpression("^Digest,[0-9a-f]{64}$").match(lines[8]).hasMatch()) << lines[8].toStdString();
    EXPECT_EQ(lines.mid(9, 2), QStringList({"", kColumns}));
    // Every row that changed, with the codes the database held before (Kitchen's Soup
    // too), and nothing else: Kitchen itself already sold at the new code.
    QStringList recorded = lines.mid(11);
    recorded.sort();
    EXPECT_EQ(
        recorded,
        QStringList({"Department,1,Bar,1,9,1,2,13.5,2", "Product,0,Zero,1,9,,2,13.5,", "Product,11,Stout,1,9,,2,13.5,",
                     "Product,12,Pils,1,9,,2,13.5,", "Product,13,Nuts,1,9,,2,13.5,", "Product,14,Merlot,1,9,,2,13.5,",
                     "Product,21,Soup,1,9,,2,13.5,", "Sub-department,10,Beer,1,9,1,2,13.5,2",
                     "Sub-department,11,Wine,1,9,1,2,13.5,2", "Third-level department,100,Lager,1,9,1,2,13.5,2"}));

    // Merlot is moved by hand to 23 % after the changeover; the revert must leave it.
    fDb->run({"update TBL_PRODUCTS set VAT_ID = 3 where SID = 14"});
    Clock::setNow(QDateTime(QDate(2023, 9, 5), QTime(15, 0, 0)));
    {
        TDialogLog dialogs({Yes});
        EXPECT_EQ(TRevertRun(changeover).run(), 0);
        ASSERT_EQ(dialogs.seen.size(), 2) << dialogs.seen.join("\n").toStdString();
        EXPECT_TRUE(dialogs.seen[0].startsWith("Question: The change record \"" + changeover
                                               + "\" lists 10 rows changed on 2023-09-05 14:03:07 (Changeover)."))
            << dialogs.seen[0].toStdString();
        ASSERT_EQ(records().size(), 2);
        EXPECT_EQ(dialogs.seen[1],
                  "Information: Put back: 9 rows.\r\nLeft as they are, changed since the record was "
                  "made: 1 row:\r\n    Product 14 Merlot\r\n\r\n9 rows changed; their record is \""
                      + records()[1] + "\".");
    }
    EXPECT_EQ(rows(fDb->path()), baselineWith({"P14 3"}));
    EXPECT_TRUE(departmentTriggerActive(fDb->path()));
    EXPECT_EQ(departmentLogRows(fDb->path()), 0);
    const QString revert = records()[1];
    EXPECT_EQ(recordLines(revert).at(5), "Made by,Revert of " + changeover);
    EXPECT_TRUE(recordLines(revert).contains("Department,1,Bar,2,13.5,2,1,9,1"));

    // The revert's own record puts the changeover back (Merlot, not in it, stays).
    Clock::setNow(QDateTime(QDate(2023, 9, 5), QTime(16, 0, 0)));
    {
        TDialogLog dialogs({Yes});
        EXPECT_EQ(TRevertRun(revert).run(), 0);
        ASSERT_EQ(dialogs.seen.size(), 2) << dialogs.seen.join("\n").toStdString();
        EXPECT_TRUE(dialogs.seen[1].startsWith("Information: Put back: 9 rows.\r\nLeft as they are, changed since "
                                               "the record was made: 0 rows."))
            << dialogs.seen[1].toStdString();
    }
    QStringList changeoverAgain = changedRows;
    changeoverAgain.replace(changeoverAgain.indexOf("P14 2"), "P14 3");
    EXPECT_EQ(rows(fDb->path()), baselineWith(changeoverAgain));
    EXPECT_TRUE(departmentTriggerActive(fDb->path()));
}

// Codes 1 and 4 are both active 9 % codes, 5 an inactive one: everything on 1 or 4 is
// listed and moved, each row recorded with its own old code, and the revert gives each
// its own code back.
TEST_F(ChangeRecordWindow, EveryActiveNinePercentCodeIsMovedAndPutBackToItsOwnCode)
{
    using namespace site;
    fDb = std::make_unique<TTestDatabase>(QStringList{
        setup(kSiteID ^ 0x3A91E27D), vat(1, "9", 5), vat(4, "9", 5), vat(5, "9", 5, "2000-01-01", "2999-12-31", "N"),
        vat(2, "13.5", 3), vat(3, "23", 1), dept(1, "Bar", 1), product(11, "Stout", 1, 1), product(12, "Cola", 3, 1),
        dept(2, "Cafe", 4), sub(20, 2, "Cakes", 4), l3(200, 20, "Tarts", 4), product(21, "Scone", 4, 2, 20),
        product(22, "Tart", 4, 2, 20, 200),
        "insert into TBL_DEPARTMENTS (DEPT_ID, DESCRIPTION, VAT_ID, PURCH_VAT, IS_ACTIVE, REPORT_GROUP)"
        " values (3, 'Kitchen', 2, 4, 'Y', 2)",
        product(31, "Soup", 4, 3), dept(6, "Old", 5), product(61, "Relic", 5, 6)});
    TOrvoReg().WriteString("Database\\List\\TEST", "LocalPath", fDb->path(), rmText);
    const QStringList before = rows(fDb->path());

    TShownMain &w = showOn(*fDb);
    ASSERT_EQ(w.error, QString());
    QTreeWidget *tv = w.departmentTree();
    tv->expandAll();
    QStringList listed;
    for (QTreeWidgetItemIterator it(tv); *it; ++it) {
        tv->setCurrentItem(*it);
        QStringList products;
        for (int row = 0; row < w.productTable()->rowCount(); ++row)
            products << w.productTable()->fullKey(row);
        listed << (*it)->text(0).simplified() + ": " + products.join(" ");
    }
    EXPECT_EQ(listed,
              QStringList({"Bar 9.00%: 11_Stout", "Cafe 9.00%: 21_Scone 22_Tart", "Cakes 9.00%: 21_Scone 22_Tart",
                           "Tarts 9.00%: 22_Tart", "Kitchen 13.50%: 31_Soup"}));

    for (int i = 0; i < tv->topLevelItemCount(); ++i)
        QTest::mouseClick(tv->viewport(), Qt::LeftButton, {}, w.stateImageRect(tv->topLevelItem(i)).center());
    {
        TDialogLog dialogs({Yes});
        QTest::mouseClick(w.findChild<QPushButton *>("btnProceed"), Qt::LeftButton);
        ASSERT_EQ(dialogs.seen.size(), 2) << dialogs.seen.join("\n").toStdString();
    }
    // Kitchen already sold at the new code and keeps its purchase code; 23 % and the
    // inactive 9 % code stay.
    EXPECT_EQ(rows(fDb->path()),
              QStringList({"D1 2/2", "D2 2/2", "D3 2/4", "D6 5/5", "S20 2/2", "T200 2/2", "P11 2", "P12 3", "P21 2",
                           "P22 2", "P31 2", "P61 5"}));

    ASSERT_EQ(records().size(), 1);
    const QString changeover = records().first();
    const QStringList lines = recordLines(changeover);
    ASSERT_EQ(lines.size(), 19);
    EXPECT_EQ(lines[6], "Rows,8");
    QStringList recorded = lines.mid(11);
    recorded.sort();
    EXPECT_EQ(
        recorded,
        QStringList({"Department,1,Bar,1,9,1,2,13.5,2", "Department,2,Cafe,4,9,4,2,13.5,2",
                     "Product,11,Stout,1,9,,2,13.5,", "Product,21,Scone,4,9,,2,13.5,", "Product,22,Tart,4,9,,2,13.5,",
                     "Product,31,Soup,4,9,,2,13.5,", "Sub-department,20,Cakes,4,9,4,2,13.5,2",
                     "Third-level department,200,Tarts,4,9,4,2,13.5,2"}));

    Clock::setNow(QDateTime(QDate(2023, 9, 5), QTime(15, 0, 0)));
    {
        TDialogLog dialogs({Yes});
        EXPECT_EQ(TRevertRun(changeover).run(), 0);
        ASSERT_EQ(dialogs.seen.size(), 2) << dialogs.seen.join("\n").toStdString();
        EXPECT_TRUE(dialogs.seen[1].startsWith("Information: Put back: 8 rows.")) << dialogs.seen[1].toStdString();
    }
    EXPECT_EQ(rows(fDb->path()), before);
    EXPECT_TRUE(departmentTriggerActive(fDb->path()));
}

TEST_F(ChangeRecordWindow, ARecordOfAnotherSiteOrDatabaseIsRefusedBeforeAnyBackup)
{
    {
        TOrvoReg reg;
        reg.SetlastUsedDB("TEST");
        reg.WriteString("Database\\List\\TEST", "ServerPath", fDb->path(), rmText);
    }
    QTemporaryDir dir;
    struct Other
    {
        const char *database;
        int site;
    };
    for (const Other &other : {Other{nullptr, 8}, Other{"/elsewhere/pos.fdb", 7}}) {
        const QString database = other.database ? QString(other.database) : fDb->path();
        const QString path = dir.filePath("other.changes.csv");
        QByteArray text = "\xEF\xBB\xBFPordane 2023 change record\r\nDatabase," + database.toUtf8() + "\r\nSite,"
            + QByteArray::number(other.site)
            + "\r\nTime,2023-09-05 14:03:07\r\nProgram,Pordane 2023 1.0\r\nMade by,Changeover\r\nRows,1\r\n\r\n"
            + kColumns.toUtf8() + "\r\nProduct,11,Stout,1,9,,2,13.5,\r\n";
        writeFile(path, text);
        // A record from before records had a digest, as the program wrote it then.
        QFile written(path);
        ASSERT_TRUE(written.open(QIODevice::ReadWrite));
        ASSERT_TRUE(
            written.setFileTime(QDateTime(QDate(2023, 9, 5), QTime(14, 3, 7)), QFileDevice::FileModificationTime));
        written.close();
        TDialogLog dialogs({Yes});
        int backups = 0;
        EXPECT_EQ(TRevertRun(path,
                             [&](const QString &, const QString &, qint32) {
                                 ++backups;
                                 return QString();
                             })
                      .run(),
                  1);
        ASSERT_EQ(dialogs.seen.size(), 1);
        EXPECT_EQ(dialogs.seen[0],
                  QStringLiteral("Error: The change record \"%1\" was made for the database \"%2\" "
                                 "of site %3, but the back-office settings name the database "
                                 "\"%4\" of site 7.\r\n\r\nNothing was changed.")
                      .arg(path, database)
                      .arg(other.site)
                      .arg(fDb->path()));
        EXPECT_EQ(backups, 0);
    }
    EXPECT_EQ(rows(fDb->path()), baselineRows());
}

} // namespace

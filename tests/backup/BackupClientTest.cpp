// TBackup hosting the stand-in controls on real databases (embedded engine).
#include "backup/standin/controls/TFmBackupManager.h"
#include "dialogs/DialogCodes.h"
#include "tests/backup/ClientFixture.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QSignalSpy>

using namespace backuptest;

namespace {

const QString kDaily = QStringLiteral("Backups/Daily/2023/09-Sep/");

QString folderOf(const QString &path)
{
    return QFileInfo(path).absolutePath() + QLatin1Char('/');
}

TEST_F(ClientTest, TheNamingRulesDecideTheFileWrittenAndWhetherTheControlStartsByItself)
{
    TTestDatabase db;
    const QString dbFolder = folderOf(db.path());
    QTemporaryDir current;
    const QString previousCurrent = QDir::currentPath();
    const QDateTime august(QDate(2023, 8, 31), QTime(22, 0));
    const struct
    {
        const char *what;
        TBackupClient backupClient;
        TBackupMode mode;
        QString local;
        QString given;
        bool autoMode;
        QString expected;
    } cases[] = {
        {"daily", bcBrisko, bmStandard, db.path(), {}, true, dbFolder + kDaily + QStringLiteral("7-230901081530.fbk")},
        {"SQL update starts by itself without autoMode",
         bcBrisko,
         bmSqlUpdate,
         db.path(),
         {},
         false,
         dbFolder + QStringLiteral("Backups/SQLUpdates/7-DBVer45.fbk")},
        {"month end",
         bcBrisko,
         bmMonthEnd,
         db.path(),
         {},
         true,
         dbFolder + QStringLiteral("Backups/MonthEnd/7-2023-08.fbk")},
        {"a given name is kept", bcBrisko, bmStandard, db.path(), dbFolder + QStringLiteral("given"), true,
         dbFolder + QStringLiteral("given.fbk")},
        {"the second client replaces a given name", bcTabbit, bmStandard, db.path(),
         dbFolder + QStringLiteral("given2"), true, dbFolder + kDaily + QStringLiteral("230901081530.fbk")},
        {"an empty local path works below the current folder",
         bcBrisko,
         bmStandard,
         QString(),
         {},
         true,
         current.path() + QLatin1Char('/') + kDaily + QStringLiteral("7-230901081530.fbk")},
    };
    ASSERT_TRUE(QDir::setCurrent(current.path()));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QString name = c.given;
        const bool made = client->Backup(c.backupClient, c.mode, db.path(), c.local, name, 7, false, 45, august,
                                         c.autoMode, 0, QString());
        EXPECT_TRUE(made);
        EXPECT_EQ(name, c.expected);
        EXPECT_TRUE(QFileInfo(c.expected).isFile());
        EXPECT_FALSE(client->bb);
    }
    QDir::setCurrent(previousCurrent);
    EXPECT_TRUE(dialogs.empty());
}

TEST_F(ClientTest, OnlyTheControlEndsTheHostNotEscapeNorACloseRequest)
{
    TTestDatabase db;
    bool stillUp = false;
    auto refuse = [&](QWidget *window) {
        if (window != client->f)
            return false;
        QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : client->f;
        QTest::keyClick(target, Qt::Key_Escape);
        client->f->close();
        // Up still after a few polls of the control.
        QSignalSpy polls(client->f->Timer1, &QTimer::timeout);
        stillUp = QTest::qWaitFor([&] { return polls.count() >= 3 || !client->f->isVisible(); }, 5000)
            && client->f->isVisible();
        return true;
    };
    NextDialogs host({refuse, click(QStringLiteral("&Start"))});
    QString name;
    // Not automatic: the control waits for the operator's Start.
    EXPECT_TRUE(client->Backup(bcBrisko, bmStandard, db.path(), db.path(), name, 7, false, 0, QDateTime(), false, 0,
                               QString()));
    EXPECT_TRUE(stillUp);
    EXPECT_TRUE(QFileInfo(name).isFile());
}

TEST_F(ClientTest, ABackupRestoresOverTheDatabaseToTheSameRowCounts)
{
    TTestDatabase db(siteStatements());
    const QMap<QString, qint64> before = rowCounts(db.path());
    QString name;
    {
        // The program backs up while its own connection holds the database open.
        TDbConnection conx;
        conx.setDatabase(db.path());
        conx.open();
        conx.startTransaction();
        ASSERT_TRUE(client->Backup(bcBrisko, bmStandard, db.path(), db.path(), name, 7, false, 0, QDateTime(), true, 0,
                                   QString()));
    }
    execute(db.path(), QStringLiteral("delete from ITEMS"));
    execute(db.path(), QStringLiteral("drop table EMPTY_ONE"));

    QString used = name;
    EXPECT_TRUE(client->Restore(bcBrisko, db.path(), used, true));
    EXPECT_EQ(used, name);
    EXPECT_EQ(rowCounts(db.path()), before);
    EXPECT_FALSE(client->br);
    EXPECT_TRUE(logs.readStowlineLog().contains(QStringLiteral("restored over")))
        << logs.readStowlineLog().toStdString();
}

TEST_F(ClientTest, AFailingBackupReturnsFalseAndLeavesNoFileClaimingSuccess)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing.fdb"));
    QString name = QStringLiteral("ignored");
    EXPECT_FALSE(
        client->Backup(bcTabbit, bmStandard, missing, missing, name, 7, false, 0, QDateTime(), true, 0, QString()));
    EXPECT_EQ(name, QString());
    EXPECT_EQ(filesBelow(dir.path()), QStringList());
    EXPECT_FALSE(client->bb);
    EXPECT_TRUE(dialogs.empty());
    EXPECT_TRUE(logs.readStowlineLog().contains(QStringLiteral("FAILED"))) << logs.readStowlineLog().toStdString();

    // An external backup method is refused rather than reported as done.
    TTestDatabase db;
    name.clear();
    EXPECT_FALSE(client->Backup(bcBrisko, bmStandard, db.path(), db.path(), name, 7, false, 0, QDateTime(), true, 1,
                                QStringLiteral("copy-it.cmd")));
    EXPECT_EQ(filesBelow(folderOf(db.path())), QStringList{QFileInfo(db.path()).fileName()});
    EXPECT_TRUE(logs.readStowlineLog().contains(QStringLiteral("External backup method 1 is not supported")));
}

TEST_F(ClientTest, ABackupFolderThatCannotBeMadeIsReportedWithTheSystemsReason)
{
    // Tests run as root, where permissions stop nothing: a file stands where the Backups folder must go.
    TTestDatabase db;
    const QString inTheWay = folderOf(db.path()) + QStringLiteral("Backups");
    writeFile(inTheWay, "not a folder");
    QString name;
    EXPECT_FALSE(
        client->Backup(bcBrisko, bmStandard, db.path(), db.path(), name, 7, false, 0, QDateTime(), true, 0, QString()));
    const QString log = logs.readStowlineLog();
    EXPECT_TRUE(log.contains(QStringLiteral("FAILED: The backup folder \"%1\" could not be created: Not a directory "
                                            "(a file is in the way: \"%2\")")
                                 .arg(folderOf(db.path()) + kDaily.chopped(1), inTheWay)))
        << log.toStdString();
    EXPECT_FALSE(log.contains(QStringLiteral("does not exist"))) << log.toStdString();
}

TEST_F(ClientTest, AnAutomaticBackupThatFailsKeepsItsReasonOnScreenUntilClose)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing.fdb"));
    TStowlineControl::setUnattendedFailureWait(60000);
    QString reason;
    NextDialogs host(click(QStringLiteral("&Close"), [this, &reason] {
        for (QLabel *label : client->f->findChildren<QLabel *>())
            if (label->isVisible() && label->text().startsWith(QStringLiteral("Failed: ")))
                reason = label->text();
        return !reason.isEmpty();
    }));
    QString name;
    EXPECT_FALSE(
        client->Backup(bcBrisko, bmStandard, missing, missing, name, 7, false, 0, QDateTime(), true, 0, QString()));
    EXPECT_TRUE(reason.contains(QStringLiteral("missing.fdb"))) << reason.toStdString();
    EXPECT_FALSE(client->f->isVisible());

    // Nobody watching: the failure still ends the run, after the wait.
    TStowlineControl::setUnattendedFailureWait(300);
    EXPECT_FALSE(
        client->Backup(bcBrisko, bmStandard, missing, missing, name, 7, false, 0, QDateTime(), true, 0, QString()));
    EXPECT_FALSE(client->f->isVisible());
}

TEST_F(ClientTest, AControlThatReportsFailureClosesTheHostAndFailsTheOperation)
{
    TTestDatabase db(siteStatements());
    QString backup;
    ASSERT_TRUE(client->Backup(bcBrisko, bmStandard, db.path(), db.path(), backup, 7, false, 0, QDateTime(), true, 0,
                               QString()));
    execute(db.path(), QStringLiteral("delete from ITEMS"));

    // Not automatic: the control lists the backups, the operator cancels.
    QString chosen;
    {
        NextDialogs host(click(QStringLiteral("&Cancel")));
        EXPECT_FALSE(client->Restore(bcBrisko, db.path(), chosen, false));
    }
    EXPECT_EQ(chosen, backup); // the control's choice comes back all the same
    EXPECT_EQ(rowCounts(db.path()).value(QStringLiteral("ITEMS")), 0);
    EXPECT_FALSE(client->br);
    EXPECT_FALSE(client->f->isVisible());

    // The operator starts it instead.
    NextDialogs host(click(QStringLiteral("&Start")));
    EXPECT_TRUE(client->Restore(bcBrisko, db.path(), chosen, false));
    EXPECT_EQ(rowCounts(db.path()).value(QStringLiteral("ITEMS")), 25000);
}

TEST_F(ClientTest, SendingFilesSendsTheDatabaseFileItself)
{
    TTestDatabase db;
    QTemporaryDir review;
    EXPECT_TRUE(client->SendDataForReview(bcBrisko, bmSendFiles, 7, db.path(), db.path(), review.path(),
                                          QStringLiteral("u"), QStringLiteral("secret")));
    EXPECT_EQ(filesBelow(review.path()), QStringList{QFileInfo(db.path()).fileName()});
    EXPECT_EQ(filesBelow(folderOf(db.path())), QStringList{QFileInfo(db.path()).fileName()}); // no backup made
    EXPECT_EQ(dialogMessages(), QStringList{QStringLiteral("Data successfully transferred for review.")});
    EXPECT_EQ(dialogs.at(0).type, mtInformation);
    EXPECT_FALSE(logs.readStowlineLog().contains(QStringLiteral("secret")));
    EXPECT_FALSE(client->bt);
}

TEST_F(ClientTest, SendingForReviewOtherwiseSendsAFreshBackup)
{
    TTestDatabase db;
    QTemporaryDir review;
    EXPECT_TRUE(client->SendDataForReview(bcTabbit, bmStandard, 7, db.path(), db.path(), review.path(), {}, {}));
    EXPECT_EQ(filesBelow(review.path()), QStringList{QStringLiteral("7-230901081530.fbk")});

    dialogs.clear();
    EXPECT_FALSE(client->SendDataForReview(bcBrisko, bmSendFiles, 7, db.path(), db.path(),
                                           QStringLiteral("review.example.com"), {}, {}));
    EXPECT_EQ(dialogMessages(), QStringList{QStringLiteral("Data could NOT be transferred for review.")});
    EXPECT_EQ(dialogs.at(0).type, mtError);

    dialogs.clear();
    const QString missing = review.filePath(QStringLiteral("missing.fdb"));
    EXPECT_FALSE(client->SendDataForReview(bcBrisko, bmStandard, 7, missing, missing, review.path(), {}, {}));
    EXPECT_TRUE(dialogs.empty());
}

TEST_F(ClientTest, SweepCompressesTheDatabaseAndReportsTheSizes)
{
    TTestDatabase db(siteStatements());
    const QMap<QString, qint64> before = rowCounts(db.path());
    execute(db.path(), QStringLiteral("delete from ITEMS where ID >= 5000")); // room to reclaim
    const QMap<QString, qint64> after = rowCounts(db.path());

    EXPECT_TRUE(client->Sweep(bcBrisko, db.path(), db.path(), false));
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(dialogs.at(0).message,
              QStringLiteral("Are you sure to start the database compression?\r\nDepending on the database and "
                             "machine speed this might take a while."));
    EXPECT_EQ(dialogs.at(0).type, mtQuestion);
    EXPECT_TRUE(dialogs.at(1).message.startsWith(QStringLiteral("Database compression successful.\r\n\r\nOld size: ")))
        << dialogs.at(1).message.toStdString();
    EXPECT_TRUE(dialogs.at(1).message.contains(QStringLiteral("MB\r\nCompression Rate: ")));
    EXPECT_EQ(rowCounts(db.path()), after);
    EXPECT_NE(after, before);
    EXPECT_TRUE(QFileInfo(folderOf(db.path()) + kDaily + QStringLiteral("230901081530.fbk")).isFile());
}

TEST_F(ClientTest, SweepAnsweredNoDoesNothing)
{
    TTestDatabase db;
    answer = 101;
    EXPECT_FALSE(client->Sweep(bcBrisko, db.path(), db.path(), false));
    EXPECT_EQ(dialogs.size(), 1u);
    EXPECT_FALSE(QFileInfo::exists(folderOf(db.path()) + QStringLiteral("Backups")));
}

TEST_F(ClientTest, SweepOfAMissingFileWarnsEvenWhenStartedAutomatically)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing.fdb"));
    EXPECT_FALSE(client->Sweep(bcBrisko, missing, missing, true));
    EXPECT_EQ(dialogMessages(),
              QStringList{QStringLiteral("Unfortunately the database compression was NOT successful.\r\n"
                                         "Check the Stowline.log for more information.")});
    EXPECT_EQ(dialogs.at(0).type, mtWarning);
}

TEST_F(ClientTest, ManagerListsTheBackupsBelowTheDatabasesFolder)
{
    TTestDatabase db;
    QString name;
    ASSERT_TRUE(
        client->Backup(bcBrisko, bmStandard, db.path(), db.path(), name, 7, false, 0, QDateTime(), true, 0, QString()));
    QList<TBackupEntry> listed;
    NextDialogs host(click(QStringLiteral("&Close"), [&] {
        auto *manager = dynamic_cast<TFmBackupManager *>(client->bm.get());
        if (manager)
            listed = manager->backups();
        return !listed.isEmpty();
    }));
    client->Manager(bcBrisko, db.path(), db.path());
    ASSERT_EQ(listed.size(), 1);
    EXPECT_EQ(listed.at(0).path, name);
    EXPECT_EQ(listed.at(0).size, QFileInfo(name).size());
    EXPECT_FALSE(client->bm);
    EXPECT_TRUE(dialogs.empty());
}

} // namespace

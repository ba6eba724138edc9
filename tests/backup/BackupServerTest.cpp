// The changeover's backup call through the Firebird server on loopback: the
// server writes the backup and its scratch copy, this process names the file.
#include "tests/backup/ClientFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace backuptest;

namespace {

class BackupThroughServer : public ClientTest
{
protected:
    // The server runs as its own user: it must be able to write into the backup
    // folders, made here for the fixed clock below the database's folder.
    static QString monthFolderOpenToServer(const TTestDatabase &db)
    {
        QString folder = QFileInfo(db.path()).absolutePath();
        for (const char *part : {"Backups", "Daily", "2023", "09-Sep"}) {
            folder += QLatin1Char('/') + QLatin1String(part);
            EXPECT_TRUE(QDir().mkpath(folder));
            openToServer(folder);
        }
        return folder;
    }

    // Backs db up through the server, this machine naming the database localPath;
    // the backup must be reported as expectedName, lie in the server's month folder
    // and restore to the same row counts.
    void backUpAndRestore(const TTestDatabase &db, const QString &localPath, const QString &expectedName)
    {
        const QString serverFolder = monthFolderOpenToServer(db);
        QString name;
        ASSERT_TRUE(client->Backup(bcBrisko, bmStandard, db.serverPath(), localPath, name, 7, false, 0, QDateTime(),
                                   true, 0, QString()))
            << logs.readStowlineLog().toStdString();
        EXPECT_EQ(name, expectedName);
        EXPECT_EQ(filesBelow(serverFolder), QStringList{QStringLiteral("7-230901081530.fbk")});

        const QString copy = QFileInfo(db.path()).absolutePath() + QStringLiteral("/copy.fdb");
        ASSERT_TRUE(client->Restore(bcBrisko, copy, name, true)) << logs.readStowlineLog().toStdString();
        EXPECT_EQ(rowCounts(copy), rowCounts(db.serverPath()));
    }
};

TEST_F(BackupThroughServer, ABackupThroughTheServerRestoresToTheSameRowCounts)
{
    TTestDatabase db(siteStatements());
    backUpAndRestore(db, db.path(),
                     QFileInfo(db.path()).absolutePath()
                         + QStringLiteral("/Backups/Daily/2023/09-Sep/7-230901081530.fbk"));
}

// As pordane-make-site --register ... --server leaves a site: the file open to the
// server's user, its folder not. The program makes the backup folders itself; the
// server, running as its own user, must still be able to write into the last of them.
TEST_F(BackupThroughServer, TheServerWritesIntoTheBackupFoldersTheProgramMakes)
{
    TTestDatabase db(siteStatements());
    const QString folder = QFileInfo(db.path()).absolutePath() + QStringLiteral("/Backups/Daily/2023/09-Sep");
    ASSERT_FALSE(QFileInfo::exists(folder));
    QString name;
    ASSERT_TRUE(client->Backup(bcBrisko, bmStandard, db.serverPath(), db.path(), name, 7, false, 0, QDateTime(), true,
                               0, QString()))
        << logs.readStowlineLog().toStdString() << dialogMessages().join("\n").toStdString();
    EXPECT_EQ(name, folder + QStringLiteral("/7-230901081530.fbk"));
    EXPECT_EQ(filesBelow(folder), QStringList{QStringLiteral("7-230901081530.fbk")});
}

// The program on another PC than the server (or under Wine): it reaches the
// database's folder by a path the server cannot use. The folders are made and the
// backup found by the local path; the server writes the same file by its own path.
TEST_F(BackupThroughServer, TheServerWritesTheBackupByItsOwnPathWhenThisMachineNamesTheFolderOtherwise)
{
    TTestDatabase db(siteStatements());
    // This machine's way to the folder goes through a folder the server's user may not enter.
    QTemporaryDir mine;
    ASSERT_TRUE(QFile::setPermissions(mine.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QString localFolder = mine.path() + QStringLiteral("/share");
    ASSERT_TRUE(QFile::link(QFileInfo(db.path()).absolutePath(), localFolder));
    backUpAndRestore(db, localFolder + QLatin1Char('/') + QFileInfo(db.path()).fileName(),
                     localFolder + QStringLiteral("/Backups/Daily/2023/09-Sep/7-230901081530.fbk"));
}

} // namespace

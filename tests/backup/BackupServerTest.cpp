// The changeover's backup call through the Firebird server on loopback: the
// server writes the backup and its scratch copy, this process names the file.
#include "tests/backup/ClientFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace backuptest;

namespace {

using BackupThroughServer = ClientTest;

TEST_F(BackupThroughServer, ABackupThroughTheServerRestoresToTheSameRowCounts)
{
    TTestDatabase db(siteStatements());
    // The server runs as its own user: it must be able to write into the backup folders.
    const QString dbFolder = QFileInfo(db.path()).absolutePath();
    QString folder = dbFolder;
    for (const char *part : {"Backups", "Daily", "2023", "09-Sep"}) {
        folder += QLatin1Char('/') + QLatin1String(part);
        ASSERT_TRUE(QDir().mkpath(folder));
        openToServer(folder);
    }

    QString name;
    ASSERT_TRUE(client->Backup(bcBrisko, bmStandard, db.serverPath(), db.path(), name, 7, false, 0, QDateTime(), true,
                               0, QString()))
        << logs.readStowlineLog().toStdString();
    EXPECT_EQ(name, folder + QStringLiteral("/7-230901081530.fbk"));
    EXPECT_EQ(filesBelow(folder), QStringList{QStringLiteral("7-230901081530.fbk")});

    QString used = name;
    const QString copy = dbFolder + QStringLiteral("/copy.fdb");
    ASSERT_TRUE(client->Restore(bcBrisko, copy, used, true)) << logs.readStowlineLog().toStdString();
    EXPECT_EQ(rowCounts(copy), rowCounts(db.serverPath()));
}

// The program on another PC than the server (or under Wine): it reaches the
// database's folder by a path the server cannot use. The folders are made and the
// backup found by the local path; the server writes the same file by its own path.
TEST_F(BackupThroughServer, TheServerWritesTheBackupByItsOwnPathWhenThisMachineNamesTheFolderOtherwise)
{
    TTestDatabase db(siteStatements());
    const QString dbFolder = QFileInfo(db.path()).absolutePath();
    QString serverFolder = dbFolder;
    for (const char *part : {"Backups", "Daily", "2023", "09-Sep"}) {
        serverFolder += QLatin1Char('/') + QLatin1String(part);
        ASSERT_TRUE(QDir().mkpath(serverFolder));
        openToServer(serverFolder);
    }
    // This machine's way to the folder goes through a folder the server's user may not enter.
    QTemporaryDir mine;
    ASSERT_TRUE(QFile::setPermissions(mine.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QString localFolder = mine.path() + QStringLiteral("/share");
    ASSERT_TRUE(QFile::link(dbFolder, localFolder));
    const QString localPath = localFolder + QLatin1Char('/') + QFileInfo(db.path()).fileName();

    QString name;
    ASSERT_TRUE(client->Backup(bcBrisko, bmStandard, db.serverPath(), localPath, name, 7, false, 0, QDateTime(), true,
                               0, QString()))
        << logs.readStowlineLog().toStdString();
    EXPECT_EQ(name, localFolder + QStringLiteral("/Backups/Daily/2023/09-Sep/7-230901081530.fbk"));
    EXPECT_EQ(filesBelow(serverFolder), QStringList{QStringLiteral("7-230901081530.fbk")});

    QString used = name;
    const QString copy = dbFolder + QStringLiteral("/copy.fdb");
    ASSERT_TRUE(client->Restore(bcBrisko, copy, used, true)) << logs.readStowlineLog().toStdString();
    EXPECT_EQ(rowCounts(copy), rowCounts(db.serverPath()));
}

} // namespace

// The changeover's backup call through the Firebird server on loopback: the
// server writes the backup and its scratch copy, this process names the file.
#include "tests/backup/ClientFixture.h"

#include <QDir>
#include <QFileInfo>

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

} // namespace

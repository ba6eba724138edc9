// Which folders the database server may enter and write after the program made them:
// as much as the database file lets its group and others write, and no more.
#include "backup/standin/jobs/BackupFolderAccess.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char *const kChain[] = {"Backups", "Daily", "2023", "09-Sep"};

struct Shown
{
    mode_t mode;
    uid_t owner;
    bool operator==(const Shown &other) const { return mode == other.mode && owner == other.owner; }
};

void PrintTo(const Shown &s, std::ostream *os)
{
    *os << std::oct << "mode 0" << s.mode << std::dec << ", owner " << s.owner;
}

Shown shown(const QString &folder)
{
    struct stat found
    {
    };
    EXPECT_EQ(stat(QFile::encodeName(folder).constData(), &found), 0) << folder.toStdString();
    return {found.st_mode & 07777, found.st_uid};
}

TEST(BackupFolderAccess, FoldersBelowTheDatabaseOpenAsFarAsTheDatabaseFileIsOpen)
{
    const uid_t me = geteuid();
    constexpr uid_t kOther = 65534;
    struct Case
    {
        const char *what;
        mode_t databaseMode;
        uid_t databaseOwner;
        mode_t month; // the folder the backup goes into
        mode_t above; // the folders between it and the database's
        uid_t monthOwner;
    };
    std::vector<Case> cases = {
        {"written by its group and others", 0666, me, 0777, 0711, me},
        {"written by others", 0646, me, 0707, 0701, me},
        {"written by its group", 0660, me, 0770, 0710, me},
        {"read by others: nothing to write with", 0644, me, 0700, 0700, me},
        {"its owner's alone", 0600, me, 0700, 0700, me},
    };
    // Only root can hand a file or folder to another user.
    if (me == 0)
        cases.push_back({"its owner's alone, another user's", 0600, kOther, 0700, 0700, kOther});

    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir site;
        const QString database = site.filePath("site.fdb");
        writeFile(database, "database");
        ASSERT_EQ(chmod(QFile::encodeName(database).constData(), c.databaseMode), 0);
        ASSERT_EQ(chown(QFile::encodeName(database).constData(), c.databaseOwner, gid_t(-1)), 0);
        QString folder = site.path();
        QStringList made;
        for (const char *part : kChain) {
            folder += QLatin1Char('/') + QLatin1String(part);
            ASSERT_TRUE(QDir().mkdir(folder));
            ASSERT_TRUE(QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
            made << folder;
        }

        openBackupFolderToServer(database, folder);

        EXPECT_EQ(shown(site.path()).mode, 0700u) << "the database's own folder stays";
        for (int i = 0; i + 1 < made.size(); ++i)
            EXPECT_EQ(shown(made[i]), (Shown{c.above, me})) << made[i].toStdString();
        EXPECT_EQ(shown(folder), (Shown{c.month, c.monthOwner}));
    }
}

TEST(BackupFolderAccess, ABackupFolderElsewhereOpensAloneAndAMissingDatabaseChangesNothing)
{
    QTemporaryDir site;
    const QString database = site.filePath("site.fdb");
    writeFile(database, "database");
    ASSERT_EQ(chmod(QFile::encodeName(database).constData(), 0646), 0);
    QTemporaryDir elsewhere;
    const QString folder = elsewhere.filePath("backups");
    ASSERT_TRUE(QDir().mkdir(folder));
    ASSERT_TRUE(QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    ASSERT_TRUE(QFile::setPermissions(elsewhere.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    openBackupFolderToServer(site.filePath("gone.fdb"), folder);
    EXPECT_EQ(shown(folder).mode, 0700u);

    openBackupFolderToServer(database, folder);
    EXPECT_EQ(shown(folder).mode, 0707u);
    EXPECT_EQ(shown(elsewhere.path()).mode, 0700u);
}

} // namespace

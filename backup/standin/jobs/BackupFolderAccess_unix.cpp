#include "backup/standin/jobs/BackupFolderAccess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The folders the server passes through to reach backupFolder, backupFolder first.
QStringList foldersBelow(const QString &databaseFolder, const QString &backupFolder)
{
    const QString top = QDir::cleanPath(databaseFolder) + QLatin1Char('/');
    QString folder = QDir::cleanPath(backupFolder);
    if (!folder.startsWith(top))
        return {folder};
    QStringList chain;
    for (; folder.size() >= top.size(); folder = QFileInfo(folder).path())
        chain << folder;
    return chain;
}

void grant(const QString &folder, const struct stat &database, bool last)
{
    const QByteArray path = QFile::encodeName(folder);
    struct stat found
    {
    };
    if (stat(path.constData(), &found) != 0 || !S_ISDIR(found.st_mode))
        return;
    const bool root = geteuid() == 0;
    if (found.st_uid != geteuid() && !root)
        return;
    mode_t added = 0;
    if (database.st_mode & S_IWOTH)
        added |= last ? S_IRWXO : S_IXOTH;
    // Group write only for the database's own group.
    if ((database.st_mode & S_IWGRP)
        && (found.st_gid == database.st_gid || chown(path.constData(), uid_t(-1), database.st_gid) == 0))
        added |= last ? S_IRWXG : S_IXGRP;
    if ((found.st_mode & added) != added)
        chmod(path.constData(), (found.st_mode & 07777) | added);
    if (last && root && database.st_uid != found.st_uid && !(database.st_mode & S_IWOTH))
        (void)chown(path.constData(), database.st_uid, gid_t(-1));
}

} // namespace

void openBackupFolderToServer(const QString &localDBPath, const QString &backupFolder)
{
    struct stat database
    {
    };
    if (stat(QFile::encodeName(localDBPath).constData(), &database) != 0)
        return; // not reachable here: nothing tells who the server is
    const QStringList chain = foldersBelow(QFileInfo(localDBPath).absolutePath(), backupFolder);
    for (int i = 0; i < chain.size(); ++i)
        grant(chain[i], database, i == 0);
}

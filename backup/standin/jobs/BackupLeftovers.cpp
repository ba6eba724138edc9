#include "backup/standin/jobs/BackupLeftovers.h"

#include "backup/core/BackupNaming.h"
#include "backup/standin/jobs/BackupJob.h"
#include "backup/standin/jobs/StowlineLog.h"
#include "util/Errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>

namespace {

constexpr QLatin1String kPending(".part");
constexpr QLatin1String kCheckCopy(".verify");
constexpr QLatin1String kLock(".lock");

// On this machine a lock counts as left behind as soon as its process is gone. One
// taken on another machine cannot be asked; no backup runs for a day, so a lock
// that old was left by one that died.
constexpr int kLockOutlivesItsOwnerMs = 24 * 60 * 60 * 1000;
// A sweep holds a backup's lock only while it removes that backup's files.
constexpr int kSweepHoldsALockMs = 2000;

QString lockFileOf(const QString &pendingFile)
{
    return pendingFile + kLock;
}

// The pending file of a backup whose final name the convention gives.
bool isOwnPendingFile(const QString &fileName)
{
    if (!fileName.endsWith(kPending))
        return false;
    const QString finalName = fileName.chopped(kPending.size());
    const QString bare = QFileInfo(finalName).completeBaseName();
    return BackupFileWithExtension(bare) == finalName && IsConventionalBackupName(bare);
}

// The pending file that a file of the folder belongs to when the backup job wrote
// it: the pending file itself, its check copy or its lock. Empty for any other file.
QString pendingFileOf(const QString &fileName)
{
    QString pending = fileName;
    if (pending.endsWith(kCheckCopy))
        pending.chop(kCheckCopy.size());
    else if (pending.endsWith(kLock))
        pending.chop(kLock.size());
    return isOwnPendingFile(pending) ? pending : QString();
}

// A file as the sweep found it: its size is taken before anything goes.
struct TLeftover
{
    QString path;
    qint64 size;
};

void logRemoved(const TLeftover &file)
{
    StowlineLog(QStringLiteral("Removed \"%1\" (%2 bytes), left by a backup that did not finish.")
                    .arg(file.path)
                    .arg(file.size));
}

void removeLeftover(const TLeftover &file)
{
    QFile leftover(file.path);
    if (leftover.remove())
        logRemoved(file);
    else
        StowlineLog(QStringLiteral("\"%1\", left by a backup that did not finish, could not be removed: %2")
                        .arg(file.path, leftover.errorString()));
}

} // namespace

QString PendingBackupFile(const QString &finalName)
{
    return finalName + kPending;
}

QString BackupCheckCopy(const QString &pendingFile)
{
    return pendingFile + kCheckCopy;
}

TBackupRunLock::TBackupRunLock(const QString &finalName) : fLock(lockFileOf(PendingBackupFile(finalName)))
{
    fLock.setStaleLockTime(kLockOutlivesItsOwnerMs);
    if (fLock.tryLock(kSweepHoldsALockMs))
        return;
    if (fLock.error() == QLockFile::LockFailedError)
        throw EPosError(QStringLiteral("Another backup is being written to \"%1\" at this moment.").arg(finalName));
    throw EPosError(QStringLiteral("The backup cannot start: \"%1\" cannot be written (no permission in the "
                                   "folder, or the disk is full).")
                        .arg(fLock.fileName()));
}

void RemoveBackupLeftovers(const QString &folder)
{
    const QDir dir(folder);
    QMap<QString, QList<TLeftover>> byPendingFile;
    for (const QFileInfo &file : dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks)) {
        const QString pending = pendingFileOf(file.fileName());
        if (!pending.isEmpty())
            byPendingFile[dir.absoluteFilePath(pending)].append({file.absoluteFilePath(), file.size()});
    }
    for (auto it = byPendingFile.cbegin(); it != byPendingFile.cend(); ++it) {
        QLockFile lock(lockFileOf(it.key()));
        lock.setStaleLockTime(kLockOutlivesItsOwnerMs);
        // Refused: a running backup holds it, or the folder takes no new file (and
        // then gives none up either).
        if (!lock.tryLock(0))
            continue;
        for (const TLeftover &file : it.value()) {
            // A lock left behind has been replaced by this one, which goes with it.
            if (file.path.endsWith(kLock))
                logRemoved(file);
            else
                removeLeftover(file);
        }
    }
}

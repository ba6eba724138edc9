#pragma once
// What a backup keeps beside the file it makes while it runs, and the sweep that
// clears away what a killed backup left there. A running backup holds a lock
// beside its pending file, so that a sweep started by another backup passes it by.
#include <QLockFile>
#include <QString>

// The backup under a temporary name while it is written and checked.
QString PendingBackupFile(const QString &finalName);
// The scratch database restored from the pending file to check it.
QString BackupCheckCopy(const QString &pendingFile);

// Says, for as long as it lives, that the backup to finalName is running.
class TBackupRunLock
{
public:
    // EPosError when another running backup writes the same file.
    explicit TBackupRunLock(const QString &finalName);

private:
    QLockFile fLock;
};

// Removes from the folder (not below it) the pending files, check copies and locks
// of backups that were killed: only where the backup would have got a conventional
// name and no running backup holds the lock. Each file removed, or that could not
// be, gets an entry in the component's log.
void RemoveBackupLeftovers(const QString &folder);

#pragma once
// Where backups go: the folder convention below the database's local folder.
#include "backup/core/BackupKinds.h"

#include <QDateTime>
#include <QString>

// The folder part of a path, up to and including its last separator (or a drive's
// ":"); empty when the path has none.
QString BackupLocalFolder(const QString &localDBPath);

// The full backup file name, without extension, that the convention gives for the
// client and mode; the folder is made when missing. Reads the clock for "now".
QString ConventionalBackupName(TBackupClient client, TBackupMode mode, const QString &localDBPath, qint32 siteNo,
                               qint32 sqlVersion, const QDateTime &monthEndDate);

// The daily name without a site number (the one every bcTabbit backup gets).
QString DailyBackupName(const QString &localDBPath);

// True for a file name (no folder) that ConventionalBackupName or DailyBackupName
// can give, and for nothing else.
bool IsConventionalBackupName(const QString &fileName);

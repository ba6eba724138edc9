#pragma once
// Making a backup that is known to be good.
#include "backup/standin/jobs/JobProgress.h"

#include <QString>

// The name the backup gets: the given one, with ".fbk" added when it has no extension.
QString BackupFileWithExtension(const QString &backupFileName);

// Backs the database up under a temporary name, checks the copy by restoring it,
// and only then gives it its name (BackupFileWithExtension, made absolute), which
// it returns; a file already at that name is left as it is, and no backup is made.
// On any failure or cancel nothing of it is left under that name. The folder
// is made when missing, and what killed backups left in it is swept away first.
// databasePath is the database as the server opens it ("host:path" or a path),
// localDBPath as this machine reaches it: the folder is made and the backup found
// through the local path, and the server is handed the same file in its own form.
QString RunVerifiedBackup(const QString &databasePath, const QString &localDBPath, const QString &backupFileName,
                          TJobProgress &progress);

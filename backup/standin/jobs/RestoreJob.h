#pragma once
// Putting a backup in place of a database without risking the database.
#include "backup/standin/jobs/JobProgress.h"

#include <QString>

// Restores the backup into a new file beside the database and, only when that
// has worked, puts it in the database's place (refused while the database is in
// use). On any failure or cancel the database stays as it was.
void RunSafeRestore(const QString &backupFileName, const QString &localDBPath, TJobProgress &progress);

#include "backup/standin/jobs/BackupFolderAccess.h"

void openBackupFolderToServer(const QString &, const QString &)
{
}

#pragma once
// Proof that a backup can be restored and holds every row it claims.
#include "backup/standin/jobs/BackupReport.h"
#include "backup/standin/jobs/FbService.h"
#include "backup/standin/jobs/JobProgress.h"

// Restores the backup (a file the source's server can reach) into a scratch
// database beside it, counts the rows of every table there and compares them with
// the backup's report and the tables of the source. The scratch database is
// dropped on every path. EPosError names what differs.
void VerifyBackup(const TServiceTarget &source, const QString &backupFile, const TBackupReport &report,
                  TJobProgress &progress);

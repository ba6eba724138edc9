#pragma once
// Proof that a backup can be restored and holds every row it claims.
#include "backup/standin/jobs/BackupReport.h"
#include "backup/standin/jobs/FbService.h"
#include "backup/standin/jobs/JobProgress.h"
#include "backup/standin/jobs/ServerFolder.h"

// Restores the backup (named as this machine names it; server gives the server's
// name of it and of the scratch copy) into a scratch database beside it, counts the rows of every table there and
// compares them with the backup's report and the tables of the source. The scratch database is dropped on every path.
// EPosError names what differs.
void VerifyBackup(const TServiceTarget &source, const TServerFolder &server, const QString &backupFile,
                  const TBackupReport &report, TJobProgress &progress);

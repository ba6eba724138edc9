#include "backup/standin/jobs/BackupJob.h"

#include "backup/standin/jobs/BackupReport.h"
#include "backup/standin/jobs/BackupVerifier.h"
#include "backup/standin/jobs/FbService.h"
#include "backup/standin/jobs/PendingFile.h"

#include <QFileInfo>

QString BackupFileWithExtension(const QString &backupFileName)
{
    return QFileInfo(backupFileName).suffix().isEmpty() ? backupFileName + QStringLiteral(".fbk") : backupFileName;
}

QString RunVerifiedBackup(const QString &databasePath, const QString &backupFileName, TJobProgress &progress)
{
    if (databasePath.trimmed().isEmpty())
        throw EPosError(QStringLiteral("No database was named to back up."));
    if (backupFileName.trimmed().isEmpty())
        throw EPosError(QStringLiteral("No backup file was named."));
    const QString finalName = QFileInfo(BackupFileWithExtension(backupFileName)).absoluteFilePath();
    const QString folder = QFileInfo(finalName).absolutePath();
    if (!QFileInfo(folder).isDir())
        throw EPosError(QStringLiteral("The backup folder \"%1\" does not exist.").arg(folder));

    const TServiceTarget source = TServiceTarget::forDatabase(databasePath);
    TPendingFile written(finalName + QStringLiteral(".part"));
    StopIfCancelled(progress);

    progress.step(QStringLiteral("Backing up %1").arg(databasePath));
    TBackupReport report;
    TFbService(source).backup(written.path(), [&](const QString &line) {
        report.addLine(line);
        progress.message(line);
    });
    StopIfCancelled(progress);
    if (!QFileInfo(written.path()).isFile())
        throw EPosError(
            QStringLiteral("The backup was written where this machine cannot reach it: \"%1\".").arg(written.path()));

    VerifyBackup(source, written.path(), report, progress);
    StopIfCancelled(progress);
    written.keepAs(finalName);
    return finalName;
}

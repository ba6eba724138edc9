#include "backup/standin/controls/TFmBackupBackup.h"

#include "backup/standin/jobs/BackupJob.h"

using namespace IFmBackupBackup;

TFmBackupBackup::TFmBackupBackup(QWidget *owner)
    : TStowlineControl(QStringLiteral("Database backup"), ModalResult, owner)
{
    declare(BackupClient, QStringLiteral("BackupClient"), qint32(0));
    declare(BackupMode, QStringLiteral("BackupMode"), qint32(0));
    declare(RemoteDBPath, QStringLiteral("RemoteDBPath"), QString());
    declare(LocalDBPath, QStringLiteral("LocalDBPath"), QString());
    declare(BackupFileName, QStringLiteral("BackupFileName"), QString());
    declare(AllowClearLiveSales, QStringLiteral("AllowClearLiveSales"), qint32(0));
    declare(AutoStart, QStringLiteral("AutoStart"), qint32(0));
    declare(ExternalBackupMethod, QStringLiteral("ExternalBackupMethod"), qint32(0));
    declare(ExternalBackupCommand, QStringLiteral("ExternalBackupCommand"), QString());
}

bool TFmBackupBackup::startsOnShow() const
{
    return intProperty(AutoStart) == 1;
}

QString TFmBackupBackup::describeRun() const
{
    return QStringLiteral("Backup of %1 into %2 (client %3, mode %4)")
        .arg(textProperty(RemoteDBPath), BackupFileWithExtension(textProperty(BackupFileName)))
        .arg(intProperty(BackupClient))
        .arg(intProperty(BackupMode));
}

TStowlineControl::TJob TFmBackupBackup::makeJob()
{
    // Handing the work to an outside program is not something this component does;
    // saying so beats reporting a backup that was never made.
    if (intProperty(ExternalBackupMethod) != 0)
        throw EPosError(
            QStringLiteral("External backup method %1 is not supported.").arg(intProperty(ExternalBackupMethod)));
    const QString database = textProperty(RemoteDBPath);
    const QString local = textProperty(LocalDBPath);
    const QString file = textProperty(BackupFileName);
    setDetails(QStringLiteral("Database: %1\nBackup file: %2").arg(database, BackupFileWithExtension(file)));
    return
        [database, local, file](TJobProgress &progress) { return RunVerifiedBackup(database, local, file, progress); };
}

void TFmBackupBackup::jobSucceeded(const QString &writtenFile)
{
    store(BackupFileName, writtenFile);
}

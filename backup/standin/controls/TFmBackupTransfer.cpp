#include "backup/standin/controls/TFmBackupTransfer.h"

#include "backup/standin/jobs/TransferJob.h"

using namespace IFmBackupTransfer;

TFmBackupTransfer::TFmBackupTransfer(QWidget *owner)
    : TStowlineControl(QStringLiteral("Data transfer for review"), ModalResult, owner)
{
    declare(BackupClient, QStringLiteral("BackupClient"), qint32(0));
    declare(TransferFileName, QStringLiteral("TransferFileName"), QString());
    declare(RemoteFileName, QStringLiteral("RemoteFileName"), QString());
    declare(RemoteHost, QStringLiteral("RemoteHost"), QString());
    declare(RemoteUser, QStringLiteral("RemoteUser"), QString());
    declare(RemotePass, QStringLiteral("RemotePass"), QString());
    declare(BackupMode, QStringLiteral("BackupMode"), qint32(0));
    declare(RemoteDBPath, QStringLiteral("RemoteDBPath"), QString());
    declare(AutoStart, QStringLiteral("AutoStart"), qint32(0));
}

bool TFmBackupTransfer::startsOnShow() const
{
    return intProperty(AutoStart) == 1;
}

QString TFmBackupTransfer::describeRun() const
{
    // The password stays out of the log.
    return QStringLiteral("Transfer of %1 to %2 as user %3 (mode %4)")
        .arg(textProperty(TransferFileName), textProperty(RemoteHost), textProperty(RemoteUser))
        .arg(intProperty(BackupMode));
}

TStowlineControl::TJob TFmBackupTransfer::makeJob()
{
    const QString file = textProperty(TransferFileName);
    const QString remoteName = textProperty(RemoteFileName);
    const QString host = textProperty(RemoteHost);
    setDetails(QStringLiteral("File: %1\nTo: %2").arg(file, host));
    return [file, remoteName, host](TJobProgress &progress) {
        return QStringLiteral("copied to ") + RunTransfer(file, remoteName, host, progress);
    };
}

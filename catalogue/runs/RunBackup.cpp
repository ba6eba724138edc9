#include "catalogue/runs/RunBackup.h"

#include "backup/uBackup.h"
#include "database/DbConnection.h"
#include "dialogs/AdvDialogs.h"
#include "settings/uPaths.h"

TRunBackup TRunBackup::cancelledByOperator()
{
    TRunBackup backup;
    backup.cancelled = true;
    return backup;
}

TRunBackup backupBeforeChangeover(const QString &remoteDBPath, const QString &localDBPath, qint32 siteNo)
{
    TBackup backup(true);
    QString fileName; // named by the daily folder convention; the change record goes beside it
    if (backup.Backup(bcBrisko, bmStandard, remoteDBPath, localDBPath, fileName, siteNo,
                      /*canClearLiveSales*/ false, /*sqlVersion*/ 0, /*monthEndDate*/ QDateTime(),
                      /*autoMode*/ true, /*extBackupMethod*/ 0, /*extBackupCommand*/ QString()))
        return TRunBackup(fileName);
    return backup.LastCancelled() ? TRunBackup::cancelledByOperator() : TRunBackup();
}

QString backupCancelledText()
{
    return QStringLiteral("The backup was cancelled; no VAT code was changed.");
}

TRunBackup backUpBeforeRun(const TChangeoverBackup &backup, const TDbConnection &conx, qint32 siteID)
{
    const QString serverPath = conx.database();
    return backup(serverPath, ServerToLocalPath(serverPath), siteID);
}

std::optional<TChangeoverEnd> endWithoutBackup(const TRunBackup &backup)
{
    if (backup.cancelled) {
        InformationDlg(backupCancelledText());
        return TChangeoverEnd::Cancelled;
    }
    if (!backup.file) {
        InformationDlg(QStringLiteral("Backup failed"));
        return TChangeoverEnd::Failed;
    }
    return std::nullopt;
}

#include "backup/standin/jobs/RestoreJob.h"

#include "backup/standin/jobs/FbService.h"
#include "backup/standin/jobs/PendingFile.h"

#include <QFileInfo>

void RunSafeRestore(const QString &backupFileName, const QString &localDBPath, TJobProgress &progress)
{
    if (backupFileName.trimmed().isEmpty())
        throw EPosError(QStringLiteral("No backup was chosen to restore."));
    if (!QFileInfo(backupFileName).isFile())
        throw EPosError(QStringLiteral("The backup \"%1\" does not exist.").arg(backupFileName));
    if (localDBPath.trimmed().isEmpty())
        throw EPosError(QStringLiteral("No database was named to restore into."));

    const QString backup = QFileInfo(backupFileName).absoluteFilePath();
    const QString database = QFileInfo(localDBPath).absoluteFilePath();
    TPendingFile restored(database + QStringLiteral(".restoring"));
    StopIfCancelled(progress);

    progress.step(QStringLiteral("Restoring %1 into a new file").arg(backup));
    TFbService(TServiceTarget()).restore(backup, restored.path(), [&](const QString &line) { progress.message(line); });
    StopIfCancelled(progress);

    progress.step(QStringLiteral("Putting the restored database in place of %1").arg(database));
    if (!QFileInfo::exists(database)) {
        restored.keepAs(database);
        return;
    }
    // Nobody may hold the old file while it is replaced; the shutdown fails when someone does.
    TFbService service(TServiceTarget::forDatabase(database));
    try {
        service.shutdownExclusive();
    } catch (const EPosError &e) {
        throw EPosError(
            QStringLiteral("The database %1 is in use, so it was not replaced (%2).").arg(database, e.message()));
    }
    QFile::setPermissions(restored.path(), QFile::permissions(database));
    try {
        restored.keepAs(database);
    } catch (...) {
        service.bringOnline();
        throw;
    }
}

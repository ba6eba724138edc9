#include "backup/standin/jobs/BackupJob.h"

#include "backup/standin/jobs/BackupFolderAccess.h"
#include "backup/standin/jobs/BackupLeftovers.h"
#include "backup/standin/jobs/BackupReport.h"
#include "backup/standin/jobs/BackupVerifier.h"
#include "backup/standin/jobs/FbService.h"
#include "backup/standin/jobs/PendingFile.h"
#include "backup/standin/jobs/ServerFolder.h"
#include "util/SafeFiles.h"

#include <QDir>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

namespace {

// The folder with its missing parents. The naming of backups makes it too but does
// not report a failure; here the operator learns the system's reason.
void makeBackupFolder(const QString &folder)
{
    namespace fs = std::filesystem;
    const fs::path path(folder.toStdU16String());
    std::error_code error;
    fs::create_directories(path, error);
    if (!error)
        return;
    QString reason = QString::fromLocal8Bit(error.message().c_str());
    // The system's reason does not say which file is in the way.
    for (fs::path up = path; up.has_relative_path(); up = up.parent_path()) {
        std::error_code ignored;
        if (fs::exists(up, ignored)) {
            if (!fs::is_directory(up, ignored))
                reason += QStringLiteral(" (a file is in the way: \"%1\")")
                              .arg(QString::fromStdU16String(up.generic_u16string()));
            break;
        }
    }
    throw EPosError(QStringLiteral("The backup folder \"%1\" could not be created: %2").arg(folder, reason));
}

} // namespace

QString BackupFileWithExtension(const QString &backupFileName)
{
    return QFileInfo(backupFileName).suffix().isEmpty() ? backupFileName + QStringLiteral(".fbk") : backupFileName;
}

QString RunVerifiedBackup(const QString &databasePath, const QString &localDBPath, const QString &backupFileName,
                          TJobProgress &progress)
{
    if (databasePath.trimmed().isEmpty())
        throw EPosError(QStringLiteral("No database was named to back up."));
    if (backupFileName.trimmed().isEmpty())
        throw EPosError(QStringLiteral("No backup file was named."));
    const QString finalName = QFileInfo(BackupFileWithExtension(backupFileName)).absoluteFilePath();
    const QString folder = QFileInfo(finalName).absolutePath();
    makeBackupFolder(folder);
    openBackupFolderToServer(localDBPath, folder);

    const TServiceTarget source = TServiceTarget::forDatabase(databasePath);
    const TServerFolder server(localDBPath, source.databasePath);
    RemoveBackupLeftovers(folder);
    const TBackupRunLock running(finalName);
    // A backup of the same second, or a file put at the name, is never replaced; a run a
    // second later gets a name of its own.
    if (!IsNameFree(finalName))
        throw EPosError(QStringLiteral("The backup cannot be made as \"%1\": %2.").arg(finalName, NameTakenReason()));
    TPendingFile written(PendingBackupFile(finalName));
    StopIfCancelled(progress);

    progress.step(QStringLiteral("Backing up %1").arg(databasePath));
    TBackupReport report;
    TFbService(source).backup(server.serverName(written.path()), [&](const QString &line) {
        report.addLine(line);
        progress.message(line);
    });
    StopIfCancelled(progress);
    if (!QFileInfo(written.path()).isFile())
        throw EPosError(QStringLiteral("The server wrote the backup to \"%1\", but this machine does not find it "
                                       "there, as \"%2\".")
                            .arg(server.serverName(written.path()), written.path()));

    VerifyBackup(source, server, written.path(), report, progress);
    StopIfCancelled(progress);
    written.keepAsNew(finalName);
    // The name goes to the operator and into the change record: in this system's form
    // (backslashes on Windows), as the back office writes its paths.
    return QDir::toNativeSeparators(finalName);
}

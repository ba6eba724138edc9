#include "backup/standin/jobs/TransferJob.h"

#include "backup/standin/jobs/PendingFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

QString TransferFolderOfHost(const QString &host)
{
    const QUrl url(host);
    if (url.isLocalFile())
        return url.toLocalFile();
    if (!host.isEmpty() && QDir::isAbsolutePath(host))
        return host;
    throw EPosError(QStringLiteral("The host \"%1\" cannot receive files: this component transfers only to a "
                                   "folder on this machine, given as an absolute path or a file:// address.")
                        .arg(host));
}

QString RunTransfer(const QString &fileName, const QString &remoteFileName, const QString &host, TJobProgress &progress)
{
    const QString folder = TransferFolderOfHost(host);
    if (!QFileInfo(folder).isDir())
        throw EPosError(QStringLiteral("The folder \"%1\" that receives the data does not exist.").arg(folder));
    QFile source(fileName);
    if (!source.open(QIODevice::ReadOnly))
        throw EPosError(QStringLiteral("\"%1\" cannot be read: %2").arg(fileName, source.errorString()));

    const QString name = remoteFileName.isEmpty() ? QFileInfo(fileName).fileName() : remoteFileName;
    const QString target = QDir(folder).absoluteFilePath(name);
    TPendingFile copy(target + QStringLiteral(".part"));
    QFile out(copy.path());
    if (!out.open(QIODevice::WriteOnly))
        throw EPosError(QStringLiteral("\"%1\" cannot be written: %2").arg(out.fileName(), out.errorString()));

    progress.step(QStringLiteral("Copying %1 to %2").arg(fileName, folder));
    const qint64 total = source.size();
    qint64 done = 0;
    QByteArray chunk;
    while (!(chunk = source.read(1 << 20)).isEmpty()) {
        StopIfCancelled(progress);
        if (out.write(chunk) != chunk.size())
            throw EPosError(QStringLiteral("\"%1\" cannot be written: %2").arg(out.fileName(), out.errorString()));
        done += chunk.size();
        progress.percent(total > 0 ? int(done * 100 / total) : 100);
    }
    if (source.error() != QFileDevice::NoError)
        throw EPosError(QStringLiteral("\"%1\" cannot be read: %2").arg(fileName, source.errorString()));
    if (!out.flush() || done != total)
        throw EPosError(QStringLiteral("\"%1\" was not copied whole.").arg(fileName));
    out.close();
    copy.keepAs(target);
    progress.message(QStringLiteral("%1 bytes copied to %2").arg(done).arg(target));
    return target;
}

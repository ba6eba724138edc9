#include "backup/standin/jobs/BackupListing.h"

#include <QDirIterator>
#include <QFileInfo>
#include <algorithm>

QList<TBackupEntry> ListBackups(const QString &localDBPath)
{
    const QString folder = QFileInfo(localDBPath).absolutePath();
    QList<TBackupEntry> entries;
    QDirIterator it(folder, {QStringLiteral("*.fbk")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        entries.append({info.absoluteFilePath(), info.size(), info.lastModified()});
    }
    std::sort(entries.begin(), entries.end(), [](const TBackupEntry &a, const TBackupEntry &b) {
        return a.written != b.written ? a.written > b.written : a.path < b.path;
    });
    return entries;
}

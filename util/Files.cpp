#include "util/Files.h"

#include "util/PlatformPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString IncludeBackslash(const QString &folder, bool create)
{
    QString result = folder;
    if (!result.endsWith(QDir::separator()))
        result += QDir::separator();
    if (create && !QFileInfo(result).isDir())
        QDir().mkpath(result);
    return result;
}

QString ModuleFileName()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
    return ExecutableFilePath();
}

qint32 FileSizeOf(const QString &path)
{
    const QFileInfo target(path);
    const QString pattern = target.fileName();
    QFileInfo found;
    if (pattern.contains(QLatin1Char('*')) || pattern.contains(QLatin1Char('?'))) {
        const QFileInfoList matches =
            QDir(target.path())
                .entryInfoList({pattern}, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                               QDir::Name);
        if (matches.isEmpty())
            return -1;
        found = matches.first();
    } else if (target.exists()) {
        found = target;
    } else {
        return -1;
    }
    // Folders count as size 0, as the file system's own directory listing reports them.
    const quint64 size = found.isDir() ? 0 : quint64(found.size());
    return qint32(quint32(size & 0xFFFFFFFFu));
}

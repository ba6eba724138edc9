#include "util/PlatformPaths.h"

#include <QFileInfo>

QString ExecutableFilePath()
{
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

bool IsPlatformLocalPath(const QString &path)
{
    return path.startsWith(QLatin1Char('/'));
}

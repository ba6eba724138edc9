#include "util/SafeFiles.h"

#include <QFileInfo>

QString NameTakenReason()
{
    return QStringLiteral("a file of that name is already there");
}

QString NotAFileReason()
{
    return QStringLiteral("it is not a file but a device, a pipe or a folder");
}

bool IsNameFree(const QString &path)
{
    const QFileInfo at(path);
    return !at.exists() && !at.isSymLink();
}

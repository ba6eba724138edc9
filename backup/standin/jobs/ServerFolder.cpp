#include "backup/standin/jobs/ServerFolder.h"

#include <QDir>

namespace {

bool hasDriveLetter(const QString &path)
{
    return path.size() >= 2 && path.at(1) == QLatin1Char(':') && path.at(0).isLetter();
}

bool isUncPath(const QString &path)
{
    return path.startsWith(QLatin1String("\\\\")) || path.startsWith(QLatin1String("//"));
}

// Windows names files without regard to case; a path of that form compares so.
Qt::CaseSensitivity caseOf(const QString &path)
{
    return hasDriveLetter(path) || isUncPath(path) ? Qt::CaseInsensitive : Qt::CaseSensitive;
}

// The folder of a file with "/" separators and a trailing "/"; empty when it has none.
QString folderOf(const QString &file)
{
    const QString path = QDir::fromNativeSeparators(file).replace(QLatin1Char('\\'), QLatin1Char('/'));
    const int last = path.lastIndexOf(QLatin1Char('/'));
    return last < 0 ? QString() : QDir::cleanPath(path.left(last + 1)) + QLatin1Char('/');
}

} // namespace

TServerFolder::TServerFolder(const QString &localDBPath, const QString &serverDBPath)
    : fServerSeparator(serverDBPath.contains(QLatin1Char('\\')) || hasDriveLetter(serverDBPath) ? QLatin1Char('\\')
                                                                                                : QLatin1Char('/')),
      fLocalCase(caseOf(localDBPath))
{
    const int last = qMax(serverDBPath.lastIndexOf(QLatin1Char('/')), serverDBPath.lastIndexOf(QLatin1Char('\\')));
    const QString localFolder = folderOf(localDBPath);
    if (last < 0 || localFolder.isEmpty())
        return;
    fLocalFolder = localFolder;
    fServerFolder = serverDBPath.left(last + 1);
}

QString TServerFolder::serverName(const QString &localFile) const
{
    if (fLocalFolder.isEmpty())
        return localFile;
    const QString file =
        QDir::cleanPath(QDir::fromNativeSeparators(localFile).replace(QLatin1Char('\\'), QLatin1Char('/')));
    if (!file.startsWith(fLocalFolder, fLocalCase))
        return localFile;
    QString below = file.mid(fLocalFolder.size());
    below.replace(QLatin1Char('/'), fServerSeparator);
    return fServerFolder + below;
}

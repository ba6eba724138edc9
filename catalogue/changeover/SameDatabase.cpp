#include "catalogue/changeover/SameDatabase.h"

#include <QDir>
#include <QFileInfo>

namespace {

struct TDatabaseName
{
    QString host; // empty for a path on this machine
    QString path;
};

TDatabaseName split(const QString &name)
{
    const qsizetype colon = name.indexOf(QLatin1Char(':'));
    if (colon > 1)
        return {name.left(colon), name.mid(colon + 1)};
    return {QString(), name};
}

bool isDriveLetterPath(const QString &path)
{
    return path.size() >= 2 && path[0].isLetter() && path[0].unicode() < 0x80 && path[1] == QLatin1Char(':');
}

// Compared as text: `.`, `..` and doubled separators resolved; a drive-letter path with
// either slash and in any case, as its file system takes it.
bool samePathText(const QString &a, const QString &b)
{
    if (isDriveLetterPath(a) && isDriveLetterPath(b)) {
        const auto slashed = [](QString path) {
            return QDir::cleanPath(path.replace(QLatin1Char('\\'), QLatin1Char('/')));
        };
        return slashed(a).compare(slashed(b), Qt::CaseInsensitive) == 0;
    }
    return QDir::cleanPath(a) == QDir::cleanPath(b);
}

} // namespace

bool sameDatabase(const QString &recorded, const QString &connected)
{
    const TDatabaseName a = split(recorded);
    const TDatabaseName b = split(connected);
    if (a.host.compare(b.host, Qt::CaseInsensitive) != 0)
        return false;
    if (a.host.isEmpty()) {
        // The file itself, wherever `..` or a link leads.
        const QString fileA = QFileInfo(a.path).canonicalFilePath();
        const QString fileB = QFileInfo(b.path).canonicalFilePath();
        if (!fileA.isEmpty() && !fileB.isEmpty())
            return samePathText(fileA, fileB);
        if (!fileA.isEmpty() || !fileB.isEmpty())
            return false;
    }
    return samePathText(a.path, b.path);
}

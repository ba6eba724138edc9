#include "tests/support/TestFiles.h"
#include "tests/support/FileBytes.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

namespace {
std::string localPath(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}
} // namespace

QByteArray fileBytes(const QString &path)
{
    return QByteArray::fromStdString(readFileBytes(localPath(path)));
}

void writeFile(const QString &path, const QByteArray &content)
{
    writeFileBytes(localPath(path), content.toStdString());
}

QStringList filesBelow(const QString &folder)
{
    QStringList files;
    const QDir root(folder);
    for (QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        files << root.relativeFilePath(it.next());
    files.sort();
    return files;
}

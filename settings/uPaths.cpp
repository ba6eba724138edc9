#include "settings/uPaths.h"

#include "settings/uOrvoReg.h"
#include "util/Fields.h"
#include "util/Files.h"
#include "util/PlatformPaths.h"
#include "util/uUtils.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace {

const QString backOfficeProgram = QStringLiteral("OrvoMain.exe");

QString &programFolder()
{
    static QString folder;
    return folder;
}

bool holdsBackOfficeProgram(const QString &folderWithSeparator)
{
    return QFileInfo(folderWithSeparator + backOfficeProgram).isFile();
}

// The folder part of a path, with its trailing separator.
QString folderOf(const QString &path)
{
    return IncludeBackslash(QFileInfo(path).path(), false);
}

bool isLocalPath(const QString &path)
{
    return (path.size() >= 2 && path[1] == QLatin1Char(':')) || IsPlatformLocalPath(path);
}

} // namespace

QString SettleProgramFolder(const QString &registryFolder, const QString &executableFile)
{
    QString folder;
    // The registry text is tested as given; a trailing separator only doubles, which the file system accepts.
    if (holdsBackOfficeProgram(registryFolder + QDir::separator())) {
        folder = registryFolder;
    } else {
        const QString executableFolder = folderOf(executableFile);
        if (holdsBackOfficeProgram(executableFolder))
            folder = executableFolder;
        else
            folder = folderOf(executableFolder.left(executableFolder.size() - 1));
    }
    return IncludeBackslash(folder, true);
}

void PathsModuleStart()
{
    QString registryFolder;
    {
        TOrvoReg reg;
        registryFolder = reg.ReadString(QString(), QStringLiteral("ProgramFolder"), QString(), rmText);
    }
    programFolder() = SettleProgramFolder(registryFolder, ModuleFileName());
}

void PathsModuleStop()
{
    programFolder().clear();
}

QString GetProgramFolder()
{
    return programFolder();
}

QString ServerToLocalPath(const QString &serverPath)
{
    QString result;
    // An empty path names no database, so it must not pick an entry whose server path is unset.
    if (!serverPath.isEmpty()) {
        QStringList databases;
        TOrvoReg reg;
        reg.getDBDetails(databases, QStringLiteral(";"), QString());
        for (const QString &line : databases) {
            if (SameTextAscii(GetField(2, line, QStringLiteral(";")), serverPath)) {
                result = GetField(1, line, QStringLiteral(";"));
                break;
            }
        }
    }
    if (result.isEmpty() && isLocalPath(serverPath))
        result = serverPath;
    return result;
}

#include "util/SafeFiles.h"

#include "util/Errors.h"

#include <QDir>
#include <QFileInfo>
#include <io.h>
#include <windows.h>

namespace {

const wchar_t *nativePath(const QString &path)
{
    return reinterpret_cast<const wchar_t *>(path.utf16());
}

} // namespace

void RenameToFreeName(const QString &from, const QString &to)
{
    // Without MOVEFILE_REPLACE_EXISTING the move fails where anything is at the name.
    const QString source = QDir::toNativeSeparators(from);
    const QString target = QDir::toNativeSeparators(to);
    if (MoveFileExW(nativePath(source), nativePath(target), MOVEFILE_WRITE_THROUGH))
        return;
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)
        throw EPosError(NameTakenReason());
    throw EPosError(qt_error_string(int(error)));
}

void SyncToDisk(QFile &file)
{
    if (!file.flush())
        throw EPosError(file.errorString());
    if (_commit(file.handle()) != 0)
        throw EPosError(qt_error_string(errno));
}

void OpenRegularFile(QFile &file, const QString &path)
{
    // Named pipes and devices are no files of a folder here; opening a file never waits.
    if (QFileInfo(path).exists() && !QFileInfo(path).isFile())
        throw EPosError(NotAFileReason());
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EPosError(file.errorString());
}

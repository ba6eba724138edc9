#include "util/SafeFiles.h"

#include "util/Errors.h"

#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

EPosError systemError(int error)
{
    return EPosError(qt_error_string(error));
}

} // namespace

void RenameToFreeName(const QString &from, const QString &to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    int result = ::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE);
    // A file system that cannot rename so gets a second name, and the first one goes.
    if (result != 0 && (errno == EINVAL || errno == ENOSYS)) {
        result = ::link(source.constData(), target.constData());
        if (result == 0)
            ::unlink(source.constData());
    }
    if (result != 0)
        throw errno == EEXIST ? EPosError(NameTakenReason()) : systemError(errno);
}

void SyncToDisk(QFile &file)
{
    if (!file.flush())
        throw EPosError(file.errorString());
    if (::fsync(file.handle()) != 0)
        throw systemError(errno);
}

void OpenRegularFile(QFile &file, const QString &path)
{
    if (QFileInfo(path).exists() && !QFileInfo(path).isFile())
        throw EPosError(NotAFileReason());
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw systemError(errno);
    struct stat opened = {};
    if (::fstat(fd, &opened) != 0) {
        const int error = errno;
        ::close(fd);
        throw systemError(error);
    }
    // Put in its place since it was looked at.
    if (!S_ISREG(opened.st_mode)) {
        ::close(fd);
        throw EPosError(NotAFileReason());
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw EPosError(file.errorString());
    }
}

#include "tests/support/FullFolder.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <sys/mount.h>

TFullFolder::TFullFolder()
{
    const QByteArray path = QFile::encodeName(fDir.path());
    if (::mount("tmpfs", path.constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=64k") != 0) {
        fReason = QStringLiteral("no small file system could be mounted: %1")
                      .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    fMounted = true;
    QFile fill(filePath(QStringLiteral("fill")));
    if (!fill.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        fReason = fill.errorString();
        return;
    }
    const QByteArray block(4096, 'x');
    while (fill.write(block) > 0) {
    }
    fFull = true;
}

TFullFolder::~TFullFolder()
{
    if (fMounted)
        ::umount2(QFile::encodeName(fDir.path()).constData(), MNT_DETACH);
}

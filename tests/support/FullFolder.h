#pragma once
// A folder on a file system of its own that has no room left: a small tmpfs, filled.
// Mounting needs root; where it cannot be mounted, available() is false and the test
// skips, since no other way fills a disk without filling the machine's.
#include <QString>
#include <QTemporaryDir>

class TFullFolder
{
public:
    TFullFolder();
    ~TFullFolder();
    TFullFolder(const TFullFolder &) = delete;
    TFullFolder &operator=(const TFullFolder &) = delete;

    bool available() const { return fFull; }
    // Why it is not available.
    const QString &reason() const { return fReason; }
    QString filePath(const QString &name) const { return fDir.filePath(name); }

private:
    QTemporaryDir fDir;
    bool fMounted = false;
    bool fFull = false;
    QString fReason;
};

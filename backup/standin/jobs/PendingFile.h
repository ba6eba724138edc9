#pragma once
// A file being written under a temporary name: removed on every way out unless kept.
#include <QFile>
#include <QString>

class TPendingFile
{
public:
    explicit TPendingFile(const QString &path) : fPath(path) { QFile::remove(fPath); }
    ~TPendingFile()
    {
        if (!fKept)
            QFile::remove(fPath);
    }
    TPendingFile(const TPendingFile &) = delete;
    TPendingFile &operator=(const TPendingFile &) = delete;

    const QString &path() const { return fPath; }
    // Gives the file its final name, replacing what is there. EPosError when that fails.
    void keepAs(const QString &finalPath);
    // Gives the file its final name only while nothing is there. EPosError otherwise.
    void keepAsNew(const QString &finalPath);

private:
    QString fPath;
    bool fKept = false;
};

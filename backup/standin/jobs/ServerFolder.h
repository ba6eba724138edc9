#pragma once
// How the database server names a file below the database's folder. This machine
// reaches that folder through the database's local path, the server through the path
// it opens the database by; the two differ whenever the program runs on another PC of
// the shop (a mapped drive, a share) or sees the disk otherwise (Wine's Z: drive). The
// server can only write a backup where it can reach it.
#include <QChar>
#include <QString>

class TServerFolder
{
public:
    // localDBPath: the database file as this machine names it; serverDBPath: as the
    // server names it (the part after "host:").
    TServerFolder(const QString &localDBPath, const QString &serverDBPath);

    // The same file as the server names it: a file below the local folder moves below
    // the server's folder, with the server's separators. Any other file, and every file
    // when either path has no folder, is handed over as this machine names it (the
    // server then runs on this PC).
    QString serverName(const QString &localFile) const;

private:
    QString fLocalFolder;  // with "/" separators and a trailing "/"; empty: no mapping
    QString fServerFolder; // as the server writes it, with its trailing separator
    QChar fServerSeparator;
    Qt::CaseSensitivity fLocalCase;
};

#pragma once
// Folder and file helpers: trailing separators, the program's own file, file sizes.
#include <QString>
#include <QtGlobal>

// The folder with the platform's separator at its end; with create, the folder is
// made together with its parents (a failure shows only when the folder is used).
QString IncludeBackslash(const QString &folder, bool create);
// Full path of the running program's file.
QString ModuleFileName();
// Size of the first entry matching the path (wildcards allowed) as a signed 32-bit
// number, -1 when nothing matches.
qint32 FileSizeOf(const QString &path);

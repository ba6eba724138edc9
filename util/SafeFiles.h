#pragma once
// Files handled so that nothing already at a name is replaced or followed, nothing
// written counts as kept before the disk has taken it, and no device or pipe is waited
// on. The EPosError of each says the reason alone; the caller names the file.
#include <QFile>
#include <QString>

// The reason given when something (a file, a folder, a link) is at a name to be taken.
QString NameTakenReason();
// The reason given when what is to be read is not a regular file.
QString NotAFileReason();

// False when anything is at path, a link to no file included.
bool IsNameFree(const QString &path);

// Gives the file from the name to in one step, only while nothing is at to.
void RenameToFreeName(const QString &from, const QString &to);

// Writes what the open file holds through to the disk, where a full disk or a lost share
// shows at last.
void SyncToDisk(QFile &file);

// Opens path for reading only when it is a regular file (or a link to one), checked
// before it is opened and again on what was opened, which never waits as a pipe would.
void OpenRegularFile(QFile &file, const QString &path);

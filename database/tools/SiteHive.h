#pragma once
// The registry entries that make the program open a generated site: the database
// list entry and the default database, in both hives of a folder.
#include <QString>
#include <QStringList>

// Writes "Database\DefaultDatabase" = entry and "Database\List\<entry>" with LocalPath and
// ServerPath below "SOFTWARE\Tollvane\Orvo" into HKEY_LOCAL_MACHINE.reg and
// HKEY_CURRENT_USER.reg in the folder (PORDANE_REGISTRY_DIR is set to it for the call).
// Hives already there are changed in place: every other key and value stays.
void writeSiteHive(const QString &folder, const QString &entry, const QString &localPath, const QString &serverPath);

// The paths the entry "Database\List\<entry>" holds (LocalPath, ServerPath) in either
// hive of the folder, each once; none when the folder has no such entry.
QStringList siteEntryPaths(const QString &folder, const QString &entry);

// Writes the user's style choice "Skin" (a style file name) into HKEY_CURRENT_USER.reg in the folder.
void writeUserSkin(const QString &folder, const QString &skin);

#pragma once
// Lets the database server into the backup folders this machine makes. The server
// writes the backup as its own user; folders made with this program's user and mask
// would keep it out, and the backup would fail ("cannot open backup file").
#include <QString>

// Whoever may write the database may write its backups, and nobody else: the folders
// from below the database's folder down to backupFolder (or backupFolder alone when it
// lies elsewhere) get the write access the database file gives its group and others,
// search on the way and read and write in backupFolder, and the file's group when
// that gives the group write. Run as root, backupFolder goes to the database file's
// owner when that is another user (the server's, who made or was given the file).
// Only folders of this program's user change, and only by what they lack; failures
// leave a folder as it was, for the backup to report. Windows: nothing changes, the
// folders inherit what their parents grant.
void openBackupFolderToServer(const QString &localDBPath, const QString &backupFolder);

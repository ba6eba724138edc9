#pragma once
// The backup that every run makes before it changes anything, and what becomes of the
// run when it writes no file.
#include "catalogue/runs/RunEnd.h"

#include <QString>
#include <functional>
#include <optional>

class TDbConnection;

// What the backup before a run came to: the file it wrote, or none, and then whether the
// operator cancelled it rather than it failing.
struct TRunBackup
{
    // Implicit, so that a backup that only names its file (or none) is one.
    TRunBackup(std::optional<QString> written = std::nullopt) : file(std::move(written)) {}
    TRunBackup(const QString &written) : file(written) {}
    static TRunBackup cancelledByOperator();

    std::optional<QString> file;
    bool cancelled = false;
};

// Backs the database up before anything changes.
using TChangeoverBackup =
    std::function<TRunBackup(const QString &remoteDBPath, const QString &localDBPath, qint32 siteNo)>;
// The backup component's standard backup, started by itself, in the daily folders.
TRunBackup backupBeforeChangeover(const QString &remoteDBPath, const QString &localDBPath, qint32 siteNo);

// The message when the operator cancelled the backup: nothing was changed.
QString backupCancelledText();

// Backs up the connection's database, by its server path and the local path that maps
// to, for the site.
TRunBackup backUpBeforeRun(const TChangeoverBackup &backup, const TDbConnection &conx, qint32 siteID);

// When the backup wrote no file, tells the operator (cancelled, or "Backup failed") and
// gives how the run ends: Cancelled or Failed. None when the backup wrote its file.
std::optional<TChangeoverEnd> endWithoutBackup(const TRunBackup &backup);

#pragma once
// What "Proceed" does: the date guard, the operator's confirmation, the backup, the
// rewrite of the ticked departments and products, and the report.
#include "catalogue/changeover/ChangeoverPlan.h"
#include "catalogue/changeover/DepartmentTrigger.h"

#include <QDateTime>
#include <QString>
#include <functional>
#include <optional>

class TDbConnection;
class TDbStatement;
class TSelection;
struct TChangeoverOutcome;

// The moment from which the run is allowed without "Kelloffice": local time.
QDateTime changeoverMoment();

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

// What the main window holds and the run works on.
struct TChangeoverContext
{
    TDbConnection &conx;
    TDbStatement &q1;
    const TSelection &selection;
    qint32 newVID = 0;
    qint32 siteID = 0;
    // Why nothing can be changed on what the window holds (its show sequence failed, or
    // the database has no 9 % code); empty when the run may go ahead.
    QString refusal;
};

// How a run ends for the window.
enum class TChangeoverEnd {
    WindowStays, // refused before the backup, or not confirmed: nothing happened
    Done,        // the changes were made: the program ends
    Cancelled,   // the operator cancelled the backup: nothing changed, the program ends
    Failed       // the backup or the changes failed, or their outcome is unknown: the program ends
};

// The program's exit status after a run that ends it: 0 when it did what was asked or
// the operator chose not to go on (cancelled the backup), 1 when it failed.
int exitStatusAfter(TChangeoverEnd end);

class TChangeoverRun
{
public:
    explicit TChangeoverRun(TChangeoverContext context, TChangeoverBackup backup = backupBeforeChangeover);

    // Errors in the path lookup and the backup are not caught; every failure after the
    // backup is told, saying whether any VAT code changed.
    TChangeoverEnd run();

private:
    bool allowedNow() const;
    TTriggerState departmentTriggerStateNow() const;
    // The record of the changed rows beside the backup; the line the final message adds.
    QString keepRecord(const TChangeoverOutcome &outcome, const QString &backupFile) const;

    TChangeoverContext fContext;
    TChangeoverBackup fBackup;
};

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
class TSelectionStore;
struct TChangeoverOutcome;

// The moment from which the run is allowed without "Kelloffice": local time.
QDateTime changeoverMoment();

// Backs the database up before anything changes; the file it wrote, none when the backup
// failed.
using TChangeoverBackup =
    std::function<std::optional<QString>(const QString &remoteDBPath, const QString &localDBPath, qint32 siteNo)>;
// The backup component's standard backup, started by itself, in the daily folders.
std::optional<QString> backupBeforeChangeover(const QString &remoteDBPath, const QString &localDBPath, qint32 siteNo);

// What the main window holds and the run works on.
struct TChangeoverContext
{
    TDbConnection &conx;
    TDbStatement &q1;
    QList<TChangeoverNode> nodes; // the whole tree in display order
    const TSelectionStore &store;
    qint32 newVID = 0;
    qint32 siteID = 0;
    // Why nothing can be changed on what the window holds (its show sequence failed, or
    // the database has no 9 % code); empty when the run may go ahead.
    QString refusal;
};

// How a run ends for the window.
enum class TChangeoverEnd {
    WindowStays, // refused or not confirmed: nothing happened
    CloseWindow  // past the backup: the program ends
};

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

#pragma once
// What "Proceed" does: the date guard, the operator's confirmation, the backup, the
// rewrite of the ticked departments and products, and the report.
#include "catalogue/changeover/ChangeoverPlan.h"
#include "catalogue/changeover/DepartmentTrigger.h"
#include "catalogue/runs/RunBackup.h"

#include <QDateTime>
#include <QString>

class TDbConnection;
class TDbStatement;
class TSelection;

// The moment from which the run is allowed without "Kelloffice": local time.
QDateTime changeoverMoment();

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

    TChangeoverContext fContext;
    TChangeoverBackup fBackup;
};

#include "catalogue/runs/ChangeoverRun.h"

#include "catalogue/changeover/ChangeoverUpdate.h"
#include "catalogue/changeover/RecordKeeping.h"
#include "catalogue/changeover/RunMark.h"
#include "catalogue/changeover/TickCounts.h"
#include "database/DbConnection.h"
#include "dialogs/AdvDialogs.h"
#include "log/uLog.h"
#include "settings/uOrvoReg.h"
#include "util/Clock.h"
#include "util/Errors.h"

QDateTime changeoverMoment()
{
    return QDateTime(QDate(2023, 9, 1), QTime(0, 0), Qt::LocalTime);
}

TChangeoverRun::TChangeoverRun(TChangeoverContext context, TChangeoverBackup backup)
    : fContext(std::move(context)), fBackup(std::move(backup))
{
}

bool TChangeoverRun::allowedNow() const
{
    // "Kelloffice" is only looked at (and so stored) before the moment.
    if (Clock::now() >= changeoverMoment())
        return true;
    return ReadSettingInt(QStringLiteral("Kelloffice"), QString(), 0) >= 1;
}

// Read in a transaction of its own, ended at once, so that none stays open.
TTriggerState TChangeoverRun::departmentTriggerStateNow() const
{
    const TTriggerState state = departmentTriggerState(fContext.q1);
    fContext.conx.commit();
    return state;
}

TChangeoverEnd TChangeoverRun::run()
{
    if (!fContext.refusal.isEmpty()) {
        ErrorDlg(fContext.refusal);
        return TChangeoverEnd::WindowStays;
    }
    // The main log names the change record and, should the record fail, is the only list
    // of the changed rows: no run without it.
    try {
        CLog::checkWritable();
    } catch (const std::exception &e) {
        ErrorDlg(QStringLiteral("Nothing was backed up and no VAT code was changed: the changeover needs the main "
                                "log, which names its change record and lists the changed rows should the record "
                                "fail.\r\n\r\n")
                 + errorText(e));
        return TChangeoverEnd::WindowStays;
    }
    if (!allowedNow()) {
        ErrorDlg(QStringLiteral("This tool can only be run from 00:00:00 on 01 Sep 2023"));
        return TChangeoverEnd::WindowStays;
    }
    const TChangeoverPlan plan = planChangeover(fContext.selection);
    if (QuestionDlg(QStringLiteral("All checked departments and all checked products\r\n"
                                   "will change sales/purchases VAT from 9% to 13.5%.\r\n\r\n"
                                   "Do you wish to proceed?\r\n\r\n")
                    + tickCountsText(plan))
        != mrYes)
        return TChangeoverEnd::WindowStays;

    // A backup made for a connection that is already lost would be followed by an update
    // that cannot run.
    try {
        fContext.conx.ping();
    } catch (const std::exception &e) {
        ErrorDlg(QStringLiteral("The connection to the database was lost: nothing was backed up and no VAT code "
                                "was changed.\r\n\r\n")
                 + errorText(e) + QStringLiteral("\r\n\r\nThe program closes now; start it again to connect anew."));
        return TChangeoverEnd::Failed;
    }

    // Departments are rewritten with the trigger switched off; without it the run would
    // back up and only then fail.
    if (departmentTriggerStateNow() == TTriggerState::Missing) {
        ErrorDlg(QStringLiteral("Nothing was backed up and no VAT code was changed: the database has no department "
                                "trigger TAU_DEPT, which the changeover switches off while it rewrites the "
                                "departments. Check that this is the back office's database."));
        return TChangeoverEnd::WindowStays;
    }

    // Held until the trigger is on again, so that no other copy of the program switches it
    // on under these updates, nor runs its own between them.
    TRunMark mark(fContext.conx, QStringLiteral("Changeover"));
    if (mark.other()) {
        ErrorDlg(otherRunRefusal(fContext.conx, *mark.other()));
        return TChangeoverEnd::WindowStays;
    }

    const TRunBackup backup = backUpBeforeRun(fBackup, fContext.conx, fContext.siteID);
    if (const std::optional<TChangeoverEnd> end = endWithoutBackup(backup))
        return *end;
    const QString &backupFile = *backup.file;

    const TChangeoverOutcome outcome = applyChangeover(fContext.conx, fContext.q1, plan, fContext.newVID);
    mark.release();
    const QString recordLine = outcome.changed || outcome.unknown
        ? keepRunRecord(outcome, fContext.conx.database(), fContext.siteID, QStringLiteral("Changeover"), backupFile)
        : QString();
    if (outcome.unknown) {
        ErrorDlg(outcome.failure
                 + QStringLiteral("\r\n\r\nThe program closes now. To find out, start it again: its tree lists what "
                                  "is still at 9%.\r\n\r\n")
                 + recordLine);
        return TChangeoverEnd::Failed;
    }
    if (outcome.failure.isEmpty()) {
        InformationDlg(QStringLiteral("Done.\r\n\r\nPlease check that the your vat rates are now correct\r\n"
                                      "and then send full product file to the till\r\n\r\n")
                       + recordLine);
        return TChangeoverEnd::Done;
    }
    if (outcome.changed)
        ErrorDlg(outcome.failure + QStringLiteral("\r\n\r\n") + recordLine);
    else
        ErrorDlg(outcome.failure
                 + QStringLiteral("\r\n\r\nThe program closes now; start it again to run the changeover once more."));
    return TChangeoverEnd::Failed;
}

#include "catalogue/changeover/ChangeoverUpdate.h"

#include "catalogue/changeover/CodeRates.h"
#include "catalogue/changeover/DepartmentTrigger.h"
#include "catalogue/changeover/LockWait.h"
#include "catalogue/changeover/RunMark.h"
#include "database/DbConnection.h"
#include "database/RollBackOrLetGo.h"
#include "util/Errors.h"

namespace {

// Firebird's words for a row that another transaction holds: a lock wait that timed
// out ends as a deadlock or an update conflict.
bool isLockConflict(const QString &message)
{
    for (const char *words : {"deadlock", "lock time-out", "update conflicts with concurrent update"})
        if (message.contains(QLatin1String(words), Qt::CaseInsensitive))
            return true;
    return false;
}

// The database's own message, with what it means for the operator when another program
// holds a row.
QString updateFailure(const std::exception &e)
{
    const QString message = errorText(e);
    if (!isLockConflict(message))
        return message;
    return QStringLiteral("Another program holds a lock on a row to be changed; it was waited for %1 seconds. "
                          "Close the other programs that use the database, then run the changeover again.\r\n\r\n")
               .arg(kChangeoverLockWaitSeconds)
        + message;
}

// Whether the attachment still stands. A rollback on a lost connection does not fail
// (the server undoes the work by itself), so only asking the server tells.
bool attachmentStands(TDbConnection &conx)
{
    if (!conx.isOpen())
        return false;
    try {
        conx.ping();
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

// Whatever happened before, the trigger is wanted on again, on a new attachment when
// the old one was lost.
void switchTriggerBackOn(TDbConnection &conx, TDbStatement &q1, TChangeoverOutcome &outcome,
                         const QString &updateFailed)
{
    try {
        const bool stands = outcome.changed ? conx.isOpen() : attachmentStands(conx);
        if (!stands) {
            conx.open();
            // The new attachment carries no mark of this run, and another copy may have
            // begun one since ours was lost: the trigger must not go on under its updates.
            if (const std::optional<TOtherRun> other = otherRunNow(conx))
                throw EPosError(beingChangedText(conx, *other)
                                + QStringLiteral("; the trigger stays off until that run ends."));
        }
        switchDepartmentTrigger(conx, q1, true);
    } catch (const std::exception &e) {
        const QString offer = QStringLiteral(" The program offers to switch it on at its next start.");
        QString message;
        if (outcome.unknown) {
            message =
                outcome.failure + QStringLiteral("\r\n\r\nThe department trigger TAU_DEPT is still inactive.") + offer;
        } else {
            message = outcome.changed
                ? QStringLiteral("The VAT codes were changed, but the department trigger TAU_DEPT is still inactive.")
                : QStringLiteral("No VAT code was changed, and the department trigger TAU_DEPT is still inactive.");
            message += offer;
            if (!updateFailed.isEmpty())
                message += QStringLiteral("\r\n\r\nThe update failed: ") + updateFailed;
        }
        message += QStringLiteral("\r\n\r\nSwitching the trigger back on failed: ") + errorText(e);
        outcome.failure = message;
    }
}

std::function<void()> &beforeUpdateCommit()
{
    static std::function<void()> hook;
    return hook;
}

} // namespace

void setBeforeUpdateCommit(std::function<void()> hook)
{
    beforeUpdateCommit() = std::move(hook);
}

TChangeoverOutcome applyChangeover(TDbConnection &conx, TDbStatement &q1, const TSelection &selection, qint32 newVID)
{
    return applyChangeover(conx, q1, planChangeover(selection), newVID);
}

TChangeoverOutcome applyChangeover(TDbConnection &conx, TDbStatement &q1, const TChangeoverPlan &plan, qint32 newVID)
{
    return rewriteWithTriggerOff(conx, q1, [&] { return runChangeoverPlan(conx, plan, newVID); });
}

TChangeoverOutcome rewriteWithTriggerOff(TDbConnection &conx, TDbStatement &q1,
                                         const std::function<QList<TChangedRow>()> &rewrite)
{
    TChangeoverOutcome outcome;
    try {
        switchDepartmentTrigger(conx, q1, false);
    } catch (const std::exception &e) {
        outcome.failure =
            QStringLiteral(
                "No VAT code was changed: the department trigger TAU_DEPT could not be switched off.\r\n\r\n")
            + errorText(e);
        return outcome;
    }

    try {
        conx.startTransaction(boundedLockWait());
        outcome.rows = rewrite();
        outcome.rates = readCodeRates(q1);
    } catch (const std::exception &e) {
        const QString updateFailed = updateFailure(e);
        rollBackOrLetGo(conx);
        outcome.rows.clear();
        outcome.failure =
            QStringLiteral("No VAT code was changed: the update failed and was undone.\r\n\r\n") + updateFailed;
        switchTriggerBackOn(conx, q1, outcome, updateFailed);
        return outcome;
    }

    if (beforeUpdateCommit())
        beforeUpdateCommit()();
    try {
        conx.commit();
        outcome.changed = true;
    } catch (const std::exception &e) {
        // The server may have committed and lost only its answer (the connection dropped
        // in between), so the rows handed back are kept for the record.
        rollBackOrLetGo(conx);
        outcome.unknown = true;
        outcome.failure = QStringLiteral("It is not known whether the VAT codes were changed: committing the changes "
                                         "failed, so the database holds either all of them or none of them.\r\n\r\n")
            + errorText(e);
    }
    switchTriggerBackOn(conx, q1, outcome, QString());
    return outcome;
}

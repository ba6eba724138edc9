#include "catalogue/changeover/ChangeoverUpdate.h"

#include "catalogue/changeover/CodeRates.h"
#include "catalogue/changeover/DepartmentTrigger.h"
#include "database/DbConnection.h"
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

// Whatever happened before, the trigger is wanted on again, on a new attachment when
// the old one was lost.
void switchTriggerBackOn(TDbConnection &conx, TDbStatement &q1, TChangeoverOutcome &outcome,
                         const QString &updateFailed)
{
    try {
        if (!conx.isOpen())
            conx.open();
        switchDepartmentTrigger(conx, q1, true);
    } catch (const std::exception &e) {
        QString message = outcome.changed
            ? QStringLiteral("The VAT codes were changed, but the department trigger TAU_DEPT is still inactive.")
            : QStringLiteral("No VAT code was changed, and the department trigger TAU_DEPT is still inactive.");
        message += QStringLiteral(" The program offers to switch it on at its next start.");
        if (!updateFailed.isEmpty())
            message += QStringLiteral("\r\n\r\nThe update failed: ") + updateFailed;
        message += QStringLiteral("\r\n\r\nSwitching the trigger back on failed: ") + errorText(e);
        outcome.failure = message;
    }
}

} // namespace

TDbTransactionOptions boundedLockWait()
{
    // No step may leave the window frozen behind another program's lock.
    TDbTransactionOptions options;
    options.lockTimeoutSeconds = kChangeoverLockWaitSeconds;
    return options;
}

TChangeoverOutcome applyChangeover(TDbConnection &conx, TDbStatement &q1, const QList<TChangeoverNode> &nodes,
                                   const TSelectionStore &store, qint32 newVID)
{
    return applyChangeover(conx, q1, planChangeover(nodes, store), newVID);
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

    QString updateFailed;
    try {
        conx.startTransaction(boundedLockWait());
        QList<TChangedRow> rows = rewrite();
        QHash<qint32, QString> rates = readCodeRates(conx);
        conx.commit();
        outcome.changed = true;
        outcome.rows = std::move(rows);
        outcome.rates = std::move(rates);
    } catch (const std::exception &e) {
        updateFailed = updateFailure(e);
        rollBackOrLetGo(conx);
        outcome.failure =
            QStringLiteral("No VAT code was changed: the update failed and was undone.\r\n\r\n") + updateFailed;
    }

    switchTriggerBackOn(conx, q1, outcome, updateFailed);
    return outcome;
}

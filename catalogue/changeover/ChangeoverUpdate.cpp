#include "catalogue/changeover/ChangeoverUpdate.h"

#include "catalogue/data/StatementText.h"
#include "database/DbConnection.h"
#include "database/DbStatement.h"
#include "util/Errors.h"

namespace {

// No step may leave the window frozen behind another program's lock.
TDbTransactionOptions boundedWait()
{
    TDbTransactionOptions options;
    options.lockTimeoutSeconds = kChangeoverLockWaitSeconds;
    return options;
}

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

// Undoes the transaction's work. When even that fails the connection is gone, and the
// server undoes an unfinished transaction of a lost connection by itself; the handles
// are given up so that a new attachment can still switch the trigger on.
void rollBackOrLetGo(TDbConnection &conx)
{
    try {
        conx.rollback();
    } catch (const std::exception &) {
        conx.close();
    }
}

// Each switch is a transaction of its own, committed at once, so that the trigger's
// state never depends on the fate of the updates.
void switchDepartmentTrigger(TDbConnection &conx, TDbStatement &q1, bool active)
{
    conx.startTransaction(boundedWait());
    try {
        useStatementText(q1,
                         active ? QStringLiteral("alter trigger TAU_DEPT active")
                                : QStringLiteral("alter trigger TAU_DEPT inactive"));
        q1.execute();
        q1.close();
        conx.commit();
    } catch (...) {
        rollBackOrLetGo(conx);
        throw;
    }
}

// Whatever happened before, the trigger is wanted on again.
void switchTriggerBackOn(TDbConnection &conx, TDbStatement &q1, const TChangeoverOutcome &outcome)
{
    try {
        if (!conx.isOpen())
            conx.open();
        switchDepartmentTrigger(conx, q1, true);
    } catch (const std::exception &e) {
        QString message = outcome.changed
            ? QStringLiteral("The VAT codes were changed, but the department trigger TAU_DEPT is still inactive.")
            : QStringLiteral("No VAT code was changed, and the department trigger TAU_DEPT is still inactive.");
        if (!outcome.failure.isEmpty())
            message += QStringLiteral("\r\n\r\nThe update failed: ") + outcome.failure;
        message += QStringLiteral("\r\n\r\nSwitching the trigger back on failed: ") + errorText(e);
        throw EPosError(message);
    }
}

} // namespace

TChangeoverOutcome applyChangeover(TDbConnection &conx, TDbStatement &q1, const QList<TChangeoverNode> &nodes,
                                   const TSelectionStore &store, qint32 newVID)
{
    return applyChangeover(conx, q1, planChangeover(nodes, store), newVID);
}

TChangeoverOutcome applyChangeover(TDbConnection &conx, TDbStatement &q1, const TChangeoverPlan &plan, qint32 newVID)
{
    // What the show sequence read is finished; the switch needs a transaction of its own.
    if (conx.inTransaction())
        conx.commit();
    switchDepartmentTrigger(conx, q1, false);

    TChangeoverOutcome outcome;
    try {
        conx.startTransaction(boundedWait());
        runChangeoverPlan(conx, plan, newVID);
        conx.commit();
        outcome.changed = true;
    } catch (const std::exception &e) {
        outcome.failure = updateFailure(e);
        rollBackOrLetGo(conx);
    }

    switchTriggerBackOn(conx, q1, outcome);
    return outcome;
}

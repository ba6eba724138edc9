#include "catalogue/changeover/DepartmentTrigger.h"

#include "catalogue/changeover/LockWait.h"
#include "database/DbConnection.h"
#include "database/DbStatement.h"
#include "database/RollBackOrLetGo.h"
#include "database/StatementText.h"

TTriggerState departmentTriggerState(TDbStatement &q1)
{
    useStatementText(q1,
                     QStringLiteral("select coalesce(RDB$TRIGGER_INACTIVE, 0) from RDB$TRIGGERS"
                                    " where RDB$TRIGGER_NAME = 'TAU_DEPT'"));
    q1.open();
    const TTriggerState state = q1.eof() ? TTriggerState::Missing
        : q1.field(0).asInteger() == 0   ? TTriggerState::Active
                                         : TTriggerState::Inactive;
    q1.close();
    return state;
}

void switchDepartmentTrigger(TDbConnection &conx, TDbStatement &q1, bool active)
{
    if (conx.inTransaction())
        conx.commit();
    conx.startTransaction(boundedLockWait());
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

#pragma once
// The department trigger TAU_DEPT, which the changeover switches off while it rewrites
// department rows and on again after them.
class TDbConnection;
class TDbStatement;

enum class TTriggerState { Active, Inactive, Missing };

// Reads the trigger's state in the connection's current transaction (started on demand).
TTriggerState departmentTriggerState(TDbStatement &q1);

// Switches the trigger in a transaction of its own, committed at once, so that its state
// never depends on the fate of other work; a transaction already active is committed
// first. Fails with the database's error, the switch undone.
void switchDepartmentTrigger(TDbConnection &conx, TDbStatement &q1, bool active);

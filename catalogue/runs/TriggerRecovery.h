#pragma once
// A changeover cut short between switching the department trigger off and on again
// (the program killed, the power or the connection lost) leaves TAU_DEPT off for good.
// Every start looks for that and offers to put it right.
class TDbConnection;
class TDbStatement;

// On an open connection: when TAU_DEPT is switched off, tells the operator, offers to
// switch it on, says what came of it and writes that to the main log. A trigger that is
// on, or missing, is left alone without a word. While another copy of the program is in
// a run on the database the trigger is left to it: the operator is told who, and nothing
// is offered. Database errors of the check are not caught; a failing switch is told and
// logged.
void offerToSwitchDepartmentTriggerOn(TDbConnection &conx, TDbStatement &q1);

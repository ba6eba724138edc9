#include "catalogue/runs/TriggerRecovery.h"

#include "catalogue/changeover/DepartmentTrigger.h"
#include "catalogue/changeover/RunMark.h"
#include "dialogs/AdvDialogs.h"
#include "log/uLog.h"
#include "util/Errors.h"

namespace {

void logTriggerNote(const QString &text)
{
    DebugLog(QStringLiteral("The department trigger TAU_DEPT was found switched off: ") + text, 0);
}

// The other copy switches the trigger on itself when its run ends.
void tellOtherRun(const TDbConnection &conx, const TOtherRun &other)
{
    const QString text = beingChangedText(conx, other) + QStringLiteral("; the trigger stays off until that run ends.");
    logTriggerNote(text);
    InformationDlg(text);
}

} // namespace

void offerToSwitchDepartmentTriggerOn(TDbConnection &conx, TDbStatement &q1)
{
    if (departmentTriggerState(q1) != TTriggerState::Inactive)
        return;
    if (const std::optional<TOtherRun> other = otherRunNow(conx)) {
        tellOtherRun(conx, *other);
        return;
    }
    if (QuestionDlg(QStringLiteral("The department trigger TAU_DEPT is switched off.\r\n\r\n"
                                   "A changeover may have been interrupted (the program stopped, the PC lost power "
                                   "or the connection to the database dropped) before it could switch the trigger "
                                   "back on.\r\n\r\n"
                                   "Switch the trigger on now?"))
        != mrYes) {
        logTriggerNote(QStringLiteral("left switched off, as the operator chose."));
        WarningDlg(QStringLiteral("The department trigger TAU_DEPT stays switched off.\r\n\r\n"
                                  "A changeover switches it on again when it ends; otherwise you are asked again "
                                  "at the next start."));
        return;
    }
    try {
        // Another copy may have started a run while the question was open; the mark keeps
        // one from starting while the trigger is switched.
        const TRunMark mark(conx, QStringLiteral("Trigger switch"));
        if (mark.other()) {
            tellOtherRun(conx, *mark.other());
            return;
        }
        switchDepartmentTrigger(conx, q1, true);
    } catch (const std::exception &e) {
        logTriggerNote(QStringLiteral("switching it on failed: ") + errorText(e));
        ErrorDlg(QStringLiteral("The department trigger TAU_DEPT could not be switched on; it is still switched "
                                "off.\r\n\r\n")
                 + errorText(e));
        return;
    }
    logTriggerNote(QStringLiteral("switched on, as the operator chose."));
    InformationDlg(QStringLiteral("The department trigger TAU_DEPT is switched on again."));
}

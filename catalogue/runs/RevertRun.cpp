#include "catalogue/runs/RevertRun.h"

#include "catalogue/changeover/ChangeRecord.h"
#include "catalogue/changeover/ChangeoverUpdate.h"
#include "catalogue/changeover/CountText.h"
#include "catalogue/changeover/RecordKeeping.h"
#include "catalogue/changeover/RevertWalk.h"
#include "catalogue/changeover/RunMark.h"
#include "catalogue/changeover/SameDatabase.h"
#include "catalogue/data/SiteID.h"
#include "catalogue/runs/LastUsedDatabase.h"
#include "database/DbConnection.h"
#include "database/DbStatement.h"
#include "dialogs/AdvDialogs.h"
#include "log/uLog.h"
#include "util/Errors.h"

namespace {

// Rows left as they are, named in the final message: enough to recognise them.
constexpr int kLeftShown = 10;

QString rowLine(const TChangedRow &row)
{
    return QStringLiteral("%1 %2 %3").arg(changedTableName(row.table)).arg(row.id).arg(row.description);
}

QString leftText(const QList<TChangedRow> &left)
{
    QString text = QStringLiteral("Left as they are, changed since the record was made: %1").arg(rowsText(left.size()));
    if (left.isEmpty())
        return text + QLatin1Char('.');
    text += QLatin1Char(':');
    for (qsizetype i = 0; i < qMin<qsizetype>(left.size(), kLeftShown); ++i)
        text += QStringLiteral("\r\n    ") + rowLine(left[i]);
    if (left.size() > kLeftShown)
        text += QStringLiteral("\r\n    and %1 more (the main log lists them all)").arg(left.size() - kLeftShown);
    return text;
}

// Rows the record's run never changed, or that were put back before.
QString atOldCodesText(const QList<TChangedRow> &atOldCodes)
{
    if (atOldCodes.isEmpty())
        return QString();
    return QStringLiteral("Already at their old codes (never changed, or put back before): %1.\r\n")
        .arg(rowsText(atOldCodes.size()));
}

void logLeft(const QString &recordPath, const QList<TChangedRow> &left)
{
    if (left.isEmpty())
        return;
    QStringList lines;
    for (const TChangedRow &row : left)
        lines << rowLine(row);
    DebugLog(QStringLiteral("Revert of \"%1\": left as they are, changed since the record was made:\r\n%2")
                 .arg(recordPath, lines.join(QStringLiteral("\r\n"))),
             0);
}

} // namespace

TRevertRun::TRevertRun(QString recordPath, TChangeoverBackup backup)
    : fRecordPath(std::move(recordPath)), fBackup(std::move(backup))
{
}

int TRevertRun::run()
{
    // The main log names the revert's own record and, should that fail, is the only list
    // of the rows put back: no run without it.
    try {
        CLog::checkWritable();
    } catch (const std::exception &e) {
        ErrorDlg(QStringLiteral("Nothing was changed: the revert needs the main log, which names its change record "
                                "and lists the rows put back should the record fail.\r\n\r\n")
                 + errorText(e));
        return 1;
    }
    TDbConnection conx;
    TDbStatement q1(conx);
    TChangeRecord recorded;
    try {
        recorded = readChangeRecord(fRecordPath);
        openLastUsedDatabase(conx);
        const qint32 siteID = readSiteID(q1);
        conx.commit();
        if (!sameDatabase(recorded.database, conx.database()) || recorded.siteID != siteID) {
            ErrorDlg(QStringLiteral("The change record \"%1\" was made for the database \"%2\" of site %3, but the "
                                    "back-office settings name the database \"%4\" of site %5.\r\n\r\n"
                                    "Nothing was changed.")
                         .arg(fRecordPath, recorded.database)
                         .arg(recorded.siteID)
                         .arg(conx.database())
                         .arg(siteID));
            return 1;
        }
        checkRecordedCodes(q1, recorded.rows, fRecordPath);
        conx.commit();
    } catch (const std::exception &e) {
        ErrorDlg(errorText(e) + QStringLiteral("\r\n\r\nNothing was changed."));
        return 1;
    }

    const QString listed = recorded.outcomeUnknown
        ? QStringLiteral("%1 to be changed on %2 (%3), whose commit failed: they may have changed or not")
        : QStringLiteral("%1 changed on %2 (%3)");
    if (QuestionDlg(
            QStringLiteral("The change record \"%1\" lists %2.\r\n\r\n"
                           "Each gets its old VAT codes back where it still holds the codes the record gave "
                           "it; rows changed since are left as they are. A backup is made first.\r\n\r\n"
                           "Do you wish to proceed?")
                .arg(fRecordPath,
                     listed.arg(rowsText(recorded.rows.size()),
                                recorded.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), recorded.madeBy)))
        != mrYes)
        return 0;

    // Held until the trigger is on again, as for the changeover.
    TRunMark mark(conx, QStringLiteral("Revert"));
    if (mark.other()) {
        ErrorDlg(otherRunRefusal(conx, *mark.other()));
        return 1;
    }

    const TRunBackup backup = backUpBeforeRun(fBackup, conx, recorded.siteID);
    if (const std::optional<TChangeoverEnd> end = endWithoutBackup(backup))
        return exitStatusAfter(*end);

    TRevertWalk walk;
    const TChangeoverOutcome outcome = rewriteWithTriggerOff(conx, q1, [&] {
        walk = runRevert(conx, recorded.rows);
        return walk.putBack;
    });
    mark.release();
    if (!outcome.changed && !outcome.unknown) {
        ErrorDlg(outcome.failure);
        return 1;
    }

    const QString recordLine = keepRunRecord(outcome, conx.database(), recorded.siteID,
                                             QStringLiteral("Revert of ") + fRecordPath, *backup.file);
    logLeft(fRecordPath, walk.left);
    if (outcome.unknown) {
        ErrorDlg(outcome.failure
                 + QStringLiteral("\r\n\r\nTo find out, and to finish the revert, give the program the record \"%1\" "
                                  "again: only rows still at the codes it gave them are put back.\r\n\r\n")
                       .arg(fRecordPath)
                 + recordLine);
        return 1;
    }
    const QString report =
        QStringLiteral("Put back: %1.\r\n%2%3\r\n\r\n%4")
            .arg(rowsText(walk.putBack.size()), atOldCodesText(walk.atOldCodes), leftText(walk.left), recordLine);
    if (!outcome.failure.isEmpty()) {
        ErrorDlg(outcome.failure + QStringLiteral("\r\n\r\n") + report);
        return 1;
    }
    InformationDlg(report);
    return 0;
}

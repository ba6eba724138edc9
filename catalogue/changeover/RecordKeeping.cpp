#include "catalogue/changeover/RecordKeeping.h"

#include "catalogue/changeover/ChangeoverUpdate.h"
#include "catalogue/changeover/CountText.h"
#include "log/uLog.h"
#include "util/Clock.h"
#include "util/Errors.h"

QString recordingProgram()
{
    return QStringLiteral("Pordane 2023 " PORDANE_VERSION);
}

QString keepChangeRecord(const TChangeRecord &record, const QString &backupFile)
{
    const QString rows = rowsText(record.rows.size());
    const QString path = changeRecordPath(backupFile);
    QString failed;
    try {
        writeChangeRecord(path, record);
    } catch (const std::exception &e) {
        failed = errorText(e);
    }
    QString line;
    if (failed.isEmpty()) {
        DebugLog(QStringLiteral("%1: %2 changed; their record is \"%3\".").arg(record.madeBy, rows, path), 0);
        line = record.outcomeUnknown
            ? QStringLiteral("The change record \"%1\" lists the %2 to be changed, marked as of unknown outcome.")
                  .arg(path, rows)
            : QStringLiteral("%1 changed; their record is \"%2\".").arg(rows, path);
    } else {
        DebugLog(QStringLiteral("%1: %2 changed; their record could not be written (%3), so here it is:\r\n%4")
                     .arg(record.madeBy, rows, failed, QString::fromUtf8(changeRecordBytes(record).mid(3)).trimmed()),
                 0);
        line = record.outcomeUnknown
            ? QStringLiteral("The %1 to be changed could not be listed in a change record (%2); the main log lists "
                             "them instead.")
                  .arg(rows, failed)
            : QStringLiteral("%1 changed, but their record could not be written (%2); the main log lists them "
                             "instead.")
                  .arg(rows, failed);
    }
    if (record.outcomeUnknown)
        DebugLog(QStringLiteral("%1: it is not known whether these %2 changed: committing the changes failed.")
                     .arg(record.madeBy, rows),
                 0);
    return line;
}

QString keepRunRecord(const TChangeoverOutcome &outcome, const QString &database, qint32 siteID, const QString &madeBy,
                      const QString &backupFile)
{
    TChangeRecord record;
    record.database = database;
    record.siteID = siteID;
    record.time = Clock::now();
    record.program = recordingProgram();
    record.madeBy = madeBy;
    record.rows = outcome.rows;
    record.rates = outcome.rates;
    record.outcomeUnknown = outcome.unknown;
    return keepChangeRecord(record, backupFile);
}

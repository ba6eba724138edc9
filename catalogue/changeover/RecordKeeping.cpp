#include "catalogue/changeover/RecordKeeping.h"

#include "catalogue/changeover/TickCounts.h"
#include "log/uLog.h"
#include "util/Errors.h"

QString recordingProgram()
{
    return QStringLiteral("Pordane 2023 " PORDANE_VERSION);
}

QString keepChangeRecord(const TChangeRecord &record, const QString &backupFile)
{
    const QString rows = countText(record.rows.size(), QStringLiteral("row"), QStringLiteral("rows"));
    const QString path = changeRecordPath(backupFile);
    try {
        writeChangeRecord(path, record);
    } catch (const std::exception &e) {
        DebugLog(
            QStringLiteral("%1: %2 changed; their record could not be written (%3), so here it is:\r\n%4")
                .arg(record.madeBy, rows, errorText(e), QString::fromUtf8(changeRecordBytes(record).mid(3)).trimmed()),
            0);
        return QStringLiteral("%1 changed, but their record could not be written (%2); the main log lists them "
                              "instead.")
            .arg(rows, errorText(e));
    }
    DebugLog(QStringLiteral("%1: %2 changed; their record is \"%3\".").arg(record.madeBy, rows, path), 0);
    return QStringLiteral("%1 changed; their record is \"%2\".").arg(rows, path);
}

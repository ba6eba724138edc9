#include "backup/standin/jobs/BackupReport.h"

#include <QRegularExpression>

void TBackupReport::addLine(const QString &line)
{
    static const QRegularExpression tableLine(QStringLiteral("^gbak:\\s*writing data for table (.+?)\\s*$"));
    static const QRegularExpression rowsLine(QStringLiteral("^gbak:\\s*(\\d+) records written\\s*$"));

    const QRegularExpressionMatch table = tableLine.match(line);
    if (table.hasMatch()) {
        fTable = table.captured(1);
        fRows.insert(fTable, 0);
        return;
    }
    // The running count comes every few thousand rows; the table's last line is its total.
    const QRegularExpressionMatch rows = rowsLine.match(line);
    if (rows.hasMatch() && !fTable.isEmpty())
        fRows.insert(fTable, rows.captured(1).toLongLong());
}

QStringList TBackupReport::differences(const QMap<QString, qint64> &restoredRows, const QStringList &sourceTables) const
{
    QStringList found;
    for (const QString &table : sourceTables) {
        if (!restoredRows.contains(table))
            found << QStringLiteral("Table %1 is missing from the restored copy.").arg(table);
    }
    for (auto it = fRows.cbegin(); it != fRows.cend(); ++it) {
        if (!restoredRows.contains(it.key()))
            found << QStringLiteral("Table %1 was written to the backup but is missing from the restored copy.")
                         .arg(it.key());
    }
    for (auto it = restoredRows.cbegin(); it != restoredRows.cend(); ++it) {
        const qint64 written = fRows.value(it.key(), 0);
        if (written != it.value())
            found << QStringLiteral("Table %1: the backup wrote %2 rows, the restored copy holds %3.")
                         .arg(it.key())
                         .arg(written)
                         .arg(it.value());
    }
    return found;
}

#pragma once
// The rows per table that a verbose backup says it has written.
#include <QMap>
#include <QString>
#include <QStringList>

class TBackupReport
{
public:
    // Takes one message line of the backup service.
    void addLine(const QString &line);
    // Table name -> rows written, for every table whose data the backup wrote.
    const QMap<QString, qint64> &rowsWritten() const { return fRows; }

    // What does not match between the report, the rows counted per table in the
    // restored copy and the tables of the database that was backed up; empty when
    // all agree. A table the backup wrote no data for must come back empty.
    QStringList differences(const QMap<QString, qint64> &restoredRows, const QStringList &sourceTables) const;

private:
    QString fTable;
    QMap<QString, qint64> fRows;
};

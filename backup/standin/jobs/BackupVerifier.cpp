#include "backup/standin/jobs/BackupVerifier.h"

#include "backup/standin/jobs/BackupLeftovers.h"
#include "database/DbConnection.h"
#include "database/DbStatement.h"

#include <QFile>
#include <QRegularExpression>

namespace {

// A table name as it must appear in a statement: plain upper-case names bare (so
// that dialect 1 databases work too), any other name quoted.
QString tableReference(const QString &name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Z][A-Z0-9_$]*$"));
    if (plain.match(name).hasMatch())
        return name;
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

QMap<QString, qint64> countRows(const QString &database, TJobProgress &progress)
{
    TDbConnection connection;
    connection.setDatabase(database);
    connection.setLogin(QString::fromLatin1(kStowlineUser), QString::fromLatin1(kStowlinePassword));
    connection.open();
    const QStringList tables = connection.userTables();
    QMap<QString, qint64> rows;
    TDbStatement count(connection);
    // Many tables a statement, each count a column of its one row: a round trip a
    // statement instead of one a table, which over a slow link is most of the check.
    constexpr int kTablesPerStatement = 100;
    for (int first = 0; first < tables.size(); first += kTablesPerStatement) {
        StopIfCancelled(progress);
        progress.percent(100 * first / tables.size());
        const QStringList chunk = tables.mid(first, kTablesPerStatement);
        QStringList counts;
        for (const QString &table : chunk)
            counts << QStringLiteral("(select count(*) from %1)").arg(tableReference(table));
        count.setSQL(QStringLiteral("select ") + counts.join(QStringLiteral(", "))
                     + QStringLiteral(" from RDB$DATABASE"));
        count.open();
        for (int i = 0; i < chunk.size(); ++i)
            rows.insert(chunk.at(i), count.field(i).asInt64());
        count.close();
    }
    progress.percent(100);
    connection.close();
    return rows;
}

QStringList sourceTables(const TServiceTarget &source)
{
    TDbConnection connection;
    connection.setDatabase(source.connectionString());
    connection.setLogin(QString::fromLatin1(kStowlineUser), QString::fromLatin1(kStowlinePassword));
    connection.open();
    const QStringList tables = connection.userTables();
    connection.close();
    return tables;
}

// Drops the scratch database through its server; a file the server never made
// (or could not open) is removed directly, by the name this machine knows it by.
void dropScratch(const TServiceTarget &scratch, const QString &localName)
{
    try {
        DropDatabase(scratch.connectionString());
    } catch (const EPosError &) {
        QFile::remove(localName);
    }
}

} // namespace

void VerifyBackup(const TServiceTarget &source, const TServerFolder &server, const QString &backupFile,
                  const TBackupReport &report, TJobProgress &progress)
{
    const QString scratchFile = BackupCheckCopy(backupFile);
    const TServiceTarget scratch = source.withPath(server.serverName(scratchFile));
    QFile::remove(scratchFile);
    struct Dropper
    {
        const TServiceTarget &s;
        const QString &localName;
        ~Dropper() { dropScratch(s, localName); }
    } dropper{scratch, scratchFile};

    progress.step(QStringLiteral("Checking the backup: restoring it into a scratch database"));
    TFbService(source).restore(
        server.serverName(backupFile), scratch.databasePath, [&](const QString &line) { progress.message(line); },
        TFbService::TIndexes::LeaveInactive);
    StopIfCancelled(progress);

    progress.step(QStringLiteral("Checking the backup: counting the rows of every table"));
    const QMap<QString, qint64> restored = countRows(scratch.connectionString(), progress);
    const QStringList differences = report.differences(restored, sourceTables(source));
    if (!differences.isEmpty())
        throw EPosError(QStringLiteral("The backup does not match the database:\n")
                        + differences.join(QLatin1Char('\n')));

    qint64 total = 0;
    for (qint64 n : restored)
        total += n;
    progress.message(QStringLiteral("Backup checked: %1 tables, %2 rows, as written.").arg(restored.size()).arg(total));
}

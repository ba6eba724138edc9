#include "backup/standin/jobs/BackupVerifier.h"

#include "backup/standin/jobs/BackupLeftovers.h"
#include "database/DbConnection.h"
#include "database/DbStatement.h"

#include <QFile>
#include <future>

namespace {

// Every plain user table with its rows, in one statement: over a slow link a round trip
// is most of the check. Plain upper-case names go bare (so that dialect 1 databases work
// too), any other name quoted.
const QString kCountEveryTable =
    QStringLiteral("execute block returns (TABLE_NAME varchar(63) character set UTF8, RECORDS bigint) as\r\n"
                   "begin\r\n"
                   "  for select trim(RDB$RELATION_NAME) from RDB$RELATIONS\r\n"
                   "      where RDB$VIEW_BLR is null and coalesce(RDB$SYSTEM_FLAG, 0) = 0\r\n"
                   "      order by RDB$RELATION_NAME into :TABLE_NAME do\r\n"
                   "  begin\r\n"
                   "    execute statement 'select count(*) from '\r\n"
                   "      || iif(TABLE_NAME similar to '[A-Z][A-Z0-9\\_$]*' escape '\\', TABLE_NAME,\r\n"
                   "             '\"' || replace(TABLE_NAME, '\"', '\"\"') || '\"')\r\n"
                   "      into :RECORDS;\r\n"
                   "    suspend;\r\n"
                   "  end\r\n"
                   "end");

QMap<QString, qint64> countRows(TDbConnection &connection, TJobProgress &progress)
{
    StopIfCancelled(progress);
    QMap<QString, qint64> rows;
    TDbStatement count(connection);
    count.setSQL(kCountEveryTable);
    for (count.open(); !count.eof(); count.next())
        rows.insert(count.field(0).asText(), count.field(1).asInt64());
    count.close();
    connection.commit();
    progress.percent(100);
    return rows;
}

void openAsStowline(TDbConnection &connection, const QString &database)
{
    connection.setDatabase(database);
    connection.setLogin(ServiceLogin());
    connection.open();
}

// Drops the scratch database through the attachment that counted it, else through its
// server; a file the server never made (or could not open) is removed directly, by the
// name this machine knows it by.
class TScratchDropper
{
public:
    TScratchDropper(TDbConnection &counted, const TServiceTarget &scratch, const QString &localName)
        : fCounted(counted), fScratch(scratch), fLocalName(localName)
    {
    }
    ~TScratchDropper()
    {
        try {
            if (fCounted.isOpen()) {
                fCounted.dropDatabase();
                return;
            }
        } catch (const EPosError &) {
            fCounted.close();
        }
        try {
            DropDatabase(fScratch.connectionString());
        } catch (const std::exception &) {
            // Settings that cannot be read for the login fail here too, and must not
            // leave a destructor.
            QFile::remove(fLocalName);
        }
    }
    TScratchDropper(const TScratchDropper &) = delete;
    TScratchDropper &operator=(const TScratchDropper &) = delete;

private:
    TDbConnection &fCounted;
    const TServiceTarget &fScratch;
    const QString &fLocalName;
};

// The plain user tables of the source database, sorted: what a backup of it must hold.
// Not read while the server writes the backup: an attachment to the source then held
// up the end of the backup by a second at times.
QStringList sourceTables(const TServiceTarget &source)
{
    TDbConnection connection;
    openAsStowline(connection, source.connectionString());
    const QStringList tables = connection.userTables();
    connection.close();
    return tables;
}

} // namespace

void VerifyBackup(const TServiceTarget &source, const TServerFolder &server, const QString &backupFile,
                  const TBackupReport &report, TJobProgress &progress)
{
    const QString scratchFile = BackupCheckCopy(backupFile);
    const TServiceTarget scratch = source.withPath(server.serverName(scratchFile));
    QFile::remove(scratchFile);
    TDbConnection counted;
    const TScratchDropper dropper(counted, scratch, scratchFile);

    // Read while the server restores the check copy, so that over a slow link its
    // attachment's round trips cost no time of their own.
    std::future<QStringList> sourceList = std::async(std::launch::async, [&source] { return sourceTables(source); });
    progress.step(QStringLiteral("Checking the backup: restoring it into a scratch database"));
    TFbService(source).restore(
        server.serverName(backupFile), scratch.databasePath, [&](const QString &line) { progress.message(line); },
        TFbService::TIndexes::LeaveInactive);
    StopIfCancelled(progress);

    progress.step(QStringLiteral("Checking the backup: counting the rows of every table"));
    openAsStowline(counted, scratch.connectionString());
    const QMap<QString, qint64> restored = countRows(counted, progress);
    const QStringList differences = report.differences(restored, sourceList.get());
    if (!differences.isEmpty())
        throw EPosError(QStringLiteral("The backup does not match the database:\n")
                        + differences.join(QLatin1Char('\n')));

    qint64 total = 0;
    for (qint64 n : restored)
        total += n;
    progress.message(QStringLiteral("Backup checked: %1 tables, %2 rows, as written.").arg(restored.size()).arg(total));
}

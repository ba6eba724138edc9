#pragma once
// Databases and folders for the backup tests: a small site with a table big enough
// for the backup to report running counts, row counts per table, and a log folder
// of the test's own.
#include "database/DbConnection.h"
#include "database/DbStatement.h"
#include "database/testing/TestDatabase.h"
#include "log/uLog.h"
#include "tests/support/QStringPrinter.h"
#include "tests/support/TestFiles.h"

#include <QFile>
#include <QMap>
#include <QTemporaryDir>

namespace backuptest {

// The program's schema with a few rows, a table of many rows, an empty table and
// one whose name needs quoting.
inline QStringList siteStatements()
{
    return {
        QStringLiteral("insert into TBL_DEPARTMENTS (DEPT_ID, DESCRIPTION) values (1, 'Café & Crêpes €')"),
        QStringLiteral("insert into TBL_DEPARTMENTS (DEPT_ID, DESCRIPTION) values (2, 'Bar')"),
        QStringLiteral("create table ITEMS (ID integer not null primary key, NAME varchar(40))"),
        QStringLiteral("execute block as declare i integer = 0; begin while (i < 25000) do begin "
                       "insert into ITEMS values (:i, 'item ' || :i); i = i + 1; end end"),
        QStringLiteral("create table EMPTY_ONE (X integer)"),
        QStringLiteral("create table \"Mixed Name\" (X integer)"),
        QStringLiteral("insert into \"Mixed Name\" values (1)"),
    };
}

inline QMap<QString, qint64> rowCounts(const QString &database)
{
    TDbConnection connection;
    connection.setDatabase(database);
    connection.open();
    QMap<QString, qint64> counts;
    TDbStatement count(connection);
    for (const QString &table : connection.userTables()) {
        count.setSQL(QStringLiteral("select count(*) from \"%1\"").arg(table));
        count.open();
        counts.insert(table, count.field(0).asInt64());
        count.close();
    }
    return counts;
}

inline void execute(const QString &database, const QString &sql)
{
    TDbConnection connection;
    connection.setDatabase(database);
    connection.open();
    connection.executeImmediate(sql);
    connection.commit();
}

// A folder the loopback server (running as its own user) may write into.
inline void openToServer(const QString &folder)
{
    QFile::setPermissions(folder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                              | QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
                              | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther);
}

// Logs of the test go below its own folder; the previous program file comes back afterwards.
class LogFolderGuard
{
public:
    LogFolderGuard() { SetLogProgramFile(fDir.filePath(QStringLiteral("Pordane2023Hospitality"))); }
    ~LogFolderGuard() { SetLogProgramFile(QString()); }
    LogFolderGuard(const LogFolderGuard &) = delete;
    LogFolderGuard &operator=(const LogFolderGuard &) = delete;

    QString stowlineLog() const { return fDir.filePath(QStringLiteral("logs/Stowline.log")); }
    QString readStowlineLog() const { return QString::fromUtf8(fileBytes(stowlineLog())); }

private:
    QTemporaryDir fDir;
};

} // namespace backuptest

#include "database/testing/TestDatabase.h"

#include "database/DbConnection.h"
#include "database/DbScript.h"
#include "database/schema/DbSchema.h"
#include "util/Errors.h"

#include <QFile>

namespace {

QString textInNone(QString script)
{
    const QString declared = QStringLiteral("CHARACTER SET WIN1252");
    if (!script.contains(declared))
        throw EPosError(QStringLiteral("The schema declares no %1 text to turn into NONE").arg(declared));
    return script.replace(declared, QStringLiteral("CHARACTER SET NONE"));
}

} // namespace

TTestDatabase::TTestDatabase(const QStringList &statements, Schema schema)
{
    if (!fDir.isValid())
        throw EPosError(QStringLiteral("No temporary folder for a test database: %1").arg(fDir.errorString()));
    // The loopback server runs as its own user: it must reach the folder and write the file.
    QFile::setPermissions(fDir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                              | QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther
                              | QFileDevice::ExeOther);
    fPath = fDir.filePath(QStringLiteral("test.fdb"));
    {
        TDbConnection connection;
        connection.setDatabase(fPath);
        connection.create();
        if (schema == Schema::Program)
            runSqlScript(connection, DbSchemaScript());
        else if (schema == Schema::TextInNone)
            runSqlScript(connection, textInNone(DbSchemaScript()));
        connection.close();
    }
    QFile::setPermissions(fPath,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                              | QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther);
    run(statements);
}

QString TTestDatabase::path() const
{
    return fPath;
}

QString TTestDatabase::serverPath() const
{
    return QStringLiteral("127.0.0.1:") + fPath;
}

void TTestDatabase::run(const QStringList &statements) const
{
    if (statements.isEmpty())
        return;
    TDbConnection connection;
    connection.setDatabase(fPath);
    connection.open();
    for (const QString &statement : statements) {
        connection.executeImmediate(statement);
        // Definitions must be committed before later statements can use them.
        connection.commit();
    }
    connection.close();
}

void TTestDatabase::runScript(const QString &script) const
{
    TDbConnection connection;
    connection.setDatabase(fPath);
    connection.open();
    runSqlScript(connection, script);
    connection.close();
}

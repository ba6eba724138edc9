#include "database/tools/SiteCheck.h"

#include "database/DbConnection.h"
#include "util/Errors.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

// The tables of siteTables() that the open database lacks.
QStringList missingTables(TDbConnection &connection)
{
    const QStringList present = connection.userTables();
    QStringList missing;
    for (const QString &table : siteTables())
        if (!present.contains(table, Qt::CaseInsensitive))
            missing.append(table);
    return missing;
}

} // namespace

QStringList siteTables()
{
    return {QStringLiteral("TBL_SETUP"), QStringLiteral("TBL_VAT_CODES"), QStringLiteral("TBL_DEPARTMENTS"),
            QStringLiteral("TBL_PRODUCTS")};
}

void checkSiteDatabase(const QString &file)
{
    const QFileInfo info(file);
    if (!info.exists())
        throw EPosError(QStringLiteral("There is no database file %1").arg(file));
    if (!info.isFile())
        throw EPosError(QStringLiteral("%1 is a folder, not a database file").arg(file));

    // Attaching writes to a Firebird file's header page even when nothing else
    // changes, so the check opens a copy and the user's file keeps every byte.
    QTemporaryDir scratch;
    const QString copy = scratch.filePath(info.fileName());
    QFile source(file);
    if (!scratch.isValid() || !source.copy(copy))
        throw EPosError(QStringLiteral("Cannot copy %1 into a temporary folder to check it: %2")
                            .arg(file, scratch.isValid() ? source.errorString() : scratch.errorString()));

    TDbConnection connection;
    connection.setDatabase(copy);
    QStringList missing;
    try {
        connection.open();
        missing = missingTables(connection);
        connection.close();
    } catch (const EPosError &e) {
        // Firebird names the file it opened: name the user's own instead.
        throw EPosError(QStringLiteral("%1 cannot be opened as a Firebird database: %2")
                            .arg(file, e.message().replace(copy, file)));
    }
    if (!missing.isEmpty())
        throw EPosError(QStringLiteral("%1 is not a till database of the back office: it has no table %2")
                            .arg(file, missing.join(QStringLiteral(", "))));
}

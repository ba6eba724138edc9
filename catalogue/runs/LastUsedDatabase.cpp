#include "catalogue/runs/LastUsedDatabase.h"

#include "database/DbConnection.h"
#include "database/FbCall.h"
#include "database/LinkWatch.h"
#include "settings/DatabasePathProblem.h"
#include "settings/uOrvoReg.h"
#include "util/Errors.h"

namespace {

// Where the login that was refused came from, without the login itself.
QString loginToCheck(TDbLogin::Source source)
{
    const QString values =
        QStringLiteral("that key's values %1 and %2").arg(kDatabaseUserValue, kDatabasePasswordValue);
    switch (source) {
    case TDbLogin::Source::Settings:
        return QStringLiteral("The login is the one in %1: check it too.").arg(values);
    case TDbLogin::Source::Environment:
        return QStringLiteral("The login is the one in the environment variables ISC_USER and ISC_PASSWORD: check "
                              "it too.");
    case TDbLogin::Source::BuiltIn:
        break;
    }
    return QStringLiteral("The login is the program's own: a server set up with another needs it in %1.").arg(values);
}

// What the operator reads when the database the settings name does not open: the
// database, what to check, then the engine's own words.
QString notOpenedText(const QString &path, const QString &entryKey, TDbLogin::Source login, const QString &why)
{
    const QString setting =
        QStringLiteral("that the back-office settings give the right path (%1, value ServerPath)").arg(entryKey);
    const QString server = serverOf(path);
    const QString check = server.isEmpty()
        ? QStringLiteral("Check that the file is there and that the program may read and write it, and %1.")
              .arg(setting)
        : QStringLiteral("Check that the database server \"%1\" is running and that this PC reaches it, and %2. %3")
              .arg(server, setting, loginToCheck(login));
    return QStringLiteral("The database \"%1\" could not be opened. %2\r\n\r\n%3").arg(path, check, why);
}

} // namespace

void openLastUsedDatabase(TDbConnection &conx)
{
    conx.close();
    TOrvoReg reg;
    const QString path = reg.getLastUsedDBPath(true);
    // The connection's own "no path" cannot tell the operator which setting to mend.
    if (path.isEmpty())
        throw EPosError(LastUsedDatabasePathProblem());
    QString user;
    QString password;
    reg.getLastUsedDBLogin(user, password);
    const TDbLogin login = TDbLogin::forSite(user, password);
    conx.setDatabase(path);
    conx.setLogin(login);
    // The client library is loaded first: one that is missing is no fault of the database,
    // and its own message says where it was looked for.
    Fb::master();
    try {
        conx.open();
    } catch (const EPosError &e) {
        throw EPosError(notOpenedText(path, reg.getLastUsedDBKeyName(), login.source, e.message()));
    }
}

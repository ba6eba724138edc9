#include "catalogue/data/VatCodes.h"

#include "catalogue/core/RateText.h"
#include "catalogue/data/NeededColumns.h"
#include "catalogue/data/StatementText.h"
#include "database/DbConnection.h"
#include "database/DbStatement.h"
#include "database/FbCall.h"
#include "database/LinkWatch.h"
#include "settings/DatabasePathProblem.h"
#include "settings/uOrvoReg.h"
#include "util/Errors.h"

#include <optional>

namespace {

constexpr quint32 kSiteMask = 0x3A91E27D;
const QString kChangeoverDate = QStringLiteral("2023-09-01");

// The first row's column as an integer; no row or null reads as 0.
qint32 firstRowInteger(TDbStatement &q, const QString &column)
{
    q.open();
    const qint32 value = q.eof() ? 0 : q.field(column).asInteger();
    q.close();
    return value;
}

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

void createNewCode(TDbConnection &conx, TDbStatement &q1)
{
    useStatementText(q1, QStringLiteral("select next value for GEN_VAT from rdb$database"));
    q1.open();
    const qint32 id = q1.field(0).asInteger();
    q1.close();

    useStatementText(
        q1,
        QStringLiteral(
            "insert into TBL_VAT_CODES (VAT_ID, DESCRIPTION, RATE, VALID_FROM, VALID_TO, IS_ACTIVE, VAT_TYPE)\r\n"
            " values (:ID, :DSC, :R, :D1, :D2, 'Y', 3)"));
    q1.setInt(0, id);
    q1.setText(1, QStringLiteral("13.50 RDC"));
    q1.setDouble(2, 13.5);
    q1.setText(3, kChangeoverDate);
    q1.setText(4, QStringLiteral("2999-12-31"));
    q1.execute();
    q1.close();
    conx.commitRetaining();
}

// A site may still hold the reduced code of earlier years, expired but left active;
// moving products onto it would give them a code no longer in force, so a code that
// is valid at the changeover comes first.
qint32 newCodeInForce(TDbStatement &q1)
{
    useStatementText(q1,
                     QStringLiteral("select VAT_ID from TBL_VAT_CODES where VAT_TYPE = 3"
                                    " and :D1 between VALID_FROM and VALID_TO order by IS_ACTIVE desc"));
    q1.setText(0, kChangeoverDate);
    return firstRowInteger(q1, QStringLiteral("VAT_ID"));
}

// The old 9 % codes, when the database has any. An id of 0 is a real code.
QList<qint32> oldCodes(TDbStatement &q1)
{
    useStatementText(q1,
                     QStringLiteral("select VAT_ID, IS_ACTIVE from TBL_VAT_CODES where VAT_TYPE = 5\r\n"
                                    "order by IS_ACTIVE desc, VAT_ID"));
    QList<qint32> active;
    std::optional<qint32> first;
    for (q1.open(); !q1.eof(); q1.next()) {
        const qint32 id = q1.field(0).asInteger();
        if (!first)
            first = id;
        if (q1.field(1).asText() == QLatin1String("Y"))
            active.append(id);
    }
    q1.close();
    if (active.isEmpty() && first)
        active.append(*first);
    return active;
}

} // namespace

const QString kNoOldCodeText = QStringLiteral("The database has no 9% VAT code (no VAT code of type 5), "
                                              "so there is nothing to change.");

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

qint32 readSiteID(TDbStatement &q1)
{
    useStatementText(q1, QStringLiteral("select * from TBL_SETUP"));
    return qint32(quint32(firstRowInteger(q1, QStringLiteral("STX"))) ^ kSiteMask);
}

TVatResolution resolveVatCodes(TDbConnection &conx, TDbStatement &q1)
{
    TVatResolution result;
    const bool thirdLevel = checkNeededColumns(conx);
    result.siteID = readSiteID(q1);

    result.oldVIDs = oldCodes(q1);
    if (!result.hasOldCode())
        return result;

    useStatementText(
        q1,
        QStringLiteral("select VAT_ID from TBL_VAT_CODES where VAT_TYPE = 3 and :D1 between VALID_FROM and VALID_TO"));
    q1.setText(0, kChangeoverDate);
    if (firstRowInteger(q1, QStringLiteral("VAT_ID")) <= 0)
        createNewCode(conx, q1);

    result.v62Plus = thirdLevel;

    result.newVID = newCodeInForce(q1);
    if (result.newVID <= 0) {
        useStatementText(q1,
                         QStringLiteral("select VAT_ID from TBL_VAT_CODES where VAT_TYPE = 3 order by IS_ACTIVE desc"));
        result.newVID = firstRowInteger(q1, QStringLiteral("VAT_ID"));
    }
    return result;
}

QString userText(const TDbField &field)
{
    // A number reads as the user writes numbers, as every number shown to them does.
    return field.isNumber() ? localeNumberText(field.asText()) : field.asText();
}

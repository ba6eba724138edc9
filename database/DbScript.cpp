#include "database/DbScript.h"

#include "database/DbConnection.h"
#include "database/SqlText.h"

namespace {

QString firstWord(const QString &statement, int skip = 0)
{
    const QStringList words = statement.simplified().split(u' ');
    return words.size() > skip ? words[skip].toUpper() : QString();
}

bool isDefinition(const QString &word)
{
    static const QStringList words = {QStringLiteral("CREATE"), QStringLiteral("ALTER"),   QStringLiteral("RECREATE"),
                                      QStringLiteral("DROP"),   QStringLiteral("COMMENT"), QStringLiteral("GRANT"),
                                      QStringLiteral("REVOKE"), QStringLiteral("DECLARE")};
    return words.contains(word);
}

} // namespace

void runSqlScript(TDbConnection &connection, const QString &script)
{
    for (const QString &statement : splitSqlScript(script)) {
        const QString word = firstWord(statement);
        if (word == QLatin1String("COMMIT")) {
            connection.commit();
            continue;
        }
        if (word == QLatin1String("SET")) {
            const QString what = firstWord(statement, 1);
            if (what == QLatin1String("NAMES") || what == QLatin1String("SQL"))
                continue;
        }
        connection.executeImmediate(statement);
        if (isDefinition(word)
            || (word == QLatin1String("SET") && firstWord(statement, 1) == QLatin1String("GENERATOR")))
            connection.commit();
    }
    connection.commit();
}

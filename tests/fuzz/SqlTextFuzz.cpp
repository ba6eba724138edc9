// SQL text as the database adapter reads it: markers replaced by "?" and scripts split
// at their terminator. Replacing again finds the same places, now all plain "?"; a
// statement of a script split again is that one statement. Anything else aborts.
#include "database/SqlText.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));

    const TSqlParams params = replaceParamMarkers(text);
    const TSqlParams again = replaceParamMarkers(params.sql);
    if (again.sql != params.sql || again.names.size() != params.names.size())
        std::abort();
    for (const QString &name : again.names)
        if (!name.isEmpty())
            std::abort();

    const QStringList statements = splitSqlScript(text);
    // SET TERM gives later statements a terminator of their own, which a statement alone
    // does not know.
    const bool plainTerminator = !text.contains(QLatin1String("term"), Qt::CaseInsensitive);
    for (const QString &statement : statements) {
        if (statement.isEmpty() || statement != statement.trimmed())
            std::abort();
        if (plainTerminator && splitSqlScript(statement) != QStringList{statement})
            std::abort();
    }
    return 0;
}

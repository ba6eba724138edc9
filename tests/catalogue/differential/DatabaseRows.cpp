#include "tests/catalogue/differential/DatabaseRows.h"

#include "database/DbConnection.h"
#include "database/DbStatement.h"

#include <algorithm>

namespace {

QStringList firstColumn(TDbConnection &conx, const QString &sql, const QString &parameter = QString())
{
    TDbStatement query(conx);
    query.setSQL(sql);
    if (query.paramCount() > 0)
        query.setText(0, parameter);
    QStringList values;
    for (query.open(); !query.eof(); query.next())
        values << query.field(0).asText();
    return values;
}

bool isLeftOut(const QString &table, const QString &column)
{
    return table == QLatin1String("TBL_DEPT_LOG") && column == QLatin1String("CHANGED_AT");
}

// Null shows apart from empty text, text in quotes so that blanks at its ends show.
QString valueText(const TDbField &field)
{
    if (field.isNull())
        return QStringLiteral("null");
    return field.isNumber() ? field.asText() : QLatin1Char('\'') + field.asText() + QLatin1Char('\'');
}

void addTableRows(TDbConnection &conx, const QString &table, QStringList &lines)
{
    QStringList columns = firstColumn(conx,
                                      QStringLiteral("select trim(RDB$FIELD_NAME) from RDB$RELATION_FIELDS"
                                                     " where RDB$RELATION_NAME = :T order by RDB$FIELD_POSITION"),
                                      table);
    columns.erase(std::remove_if(columns.begin(), columns.end(),
                                 [&table](const QString &column) { return isLeftOut(table, column); }),
                  columns.end());
    QStringList key = firstColumn(conx,
                                  QStringLiteral("select trim(s.RDB$FIELD_NAME) from RDB$RELATION_CONSTRAINTS c"
                                                 " join RDB$INDEX_SEGMENTS s on s.RDB$INDEX_NAME = c.RDB$INDEX_NAME"
                                                 " where c.RDB$RELATION_NAME = :T"
                                                 " and c.RDB$CONSTRAINT_TYPE = 'PRIMARY KEY'"
                                                 " order by s.RDB$FIELD_POSITION"),
                                  table);
    if (key.isEmpty())
        key = columns;

    TDbStatement query(conx);
    query.setSQL(QStringLiteral("select %1 from %2 order by %3")
                     .arg(columns.join(QStringLiteral(", ")), table, key.join(QStringLiteral(", "))));
    for (query.open(); !query.eof(); query.next()) {
        QStringList values;
        for (int i = 0; i < query.fieldCount(); ++i)
            values << columns[i] + QLatin1Char('=') + valueText(query.field(i));
        lines << table + QLatin1Char(' ') + values.join(QLatin1Char(' '));
    }
}

} // namespace

QStringList databaseRows(const QString &databasePath)
{
    TDbConnection conx;
    conx.setDatabase(databasePath);
    conx.open();
    QStringList lines;
    const QStringList tables = firstColumn(conx,
                                           QStringLiteral("select trim(RDB$RELATION_NAME) from RDB$RELATIONS"
                                                          " where coalesce(RDB$SYSTEM_FLAG, 0) = 0"
                                                          " and RDB$VIEW_BLR is null order by 1"));
    for (const QString &table : tables)
        addTableRows(conx, table, lines);

    TDbStatement triggers(conx);
    triggers.setSQL(QStringLiteral("select trim(RDB$TRIGGER_NAME), coalesce(RDB$TRIGGER_INACTIVE, 0) from RDB$TRIGGERS"
                                   " where coalesce(RDB$SYSTEM_FLAG, 0) = 0 order by 1"));
    for (triggers.open(); !triggers.eof(); triggers.next())
        lines << QStringLiteral("trigger %1 inactive=%2").arg(triggers.field(0).asText(), triggers.field(1).asText());

    const QStringList generators = firstColumn(conx,
                                               QStringLiteral("select trim(RDB$GENERATOR_NAME) from RDB$GENERATORS"
                                                              " where coalesce(RDB$SYSTEM_FLAG, 0) = 0 order by 1"));
    for (const QString &generator : generators)
        lines << QStringLiteral("generator %1 = %2")
                     .arg(generator,
                          firstColumn(conx, QStringLiteral("select gen_id(%1, 0) from rdb$database").arg(generator))
                              .value(0));
    conx.commit();
    return lines;
}

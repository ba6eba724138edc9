#include "catalogue/data/NeededColumns.h"

#include "database/DbStatement.h"
#include "database/StatementText.h"
#include "util/Errors.h"

#include <QHash>
#include <QSet>
#include <QStringList>

namespace {

struct TNeededTable
{
    const char *name;
    QStringList columns;
};

const QString kThirdLevelTable = QStringLiteral("TBL_L3DEPARTMENTS");

const QList<TNeededTable> &alwaysNeeded()
{
    static const QList<TNeededTable> tables = {
        {"TBL_SETUP", {"STX"}},
        {"TBL_VAT_CODES", {"VAT_ID", "DESCRIPTION", "RATE", "VALID_FROM", "VALID_TO", "IS_ACTIVE", "VAT_TYPE"}},
        {"TBL_DEPARTMENTS", {"DEPT_ID", "DESCRIPTION", "VAT_ID", "PURCH_VAT", "IS_ACTIVE", "REPORT_GROUP"}},
        {"TBL_PRODUCTS", {"SID", "DESCRIPTION", "VAT_ID", "DEPT_ID", "SUB_DEPT"}},
    };
    return tables;
}

const QList<TNeededTable> &thirdLevelNeeds()
{
    static const QList<TNeededTable> tables = {
        {"TBL_SUB_DEPARTMENTS", {"SUB_DEPT", "DEPT_ID", "DESCRIPTION", "SALES_VID", "PURCH_VID", "IS_ACTIVE"}},
        {"TBL_L3DEPARTMENTS", {"L3DID", "L2DID", "DESCRIPTION", "SALES_VID", "PURCH_VID", "IS_ACTIVE"}},
        {"TBL_PRODUCTS", {"L3DID"}},
    };
    return tables;
}

// The columns of every plain table of those names, table and column in upper case: names
// are told apart without case, as everywhere else the program looks for its tables.
QHash<QString, QSet<QString>> presentColumns(TDbStatement &q1)
{
    QStringList names;
    for (const QList<TNeededTable> *tables : {&alwaysNeeded(), &thirdLevelNeeds()})
        for (const TNeededTable &table : *tables)
            names << QLatin1Char('\'') + QLatin1String(table.name) + QLatin1Char('\'');
    useStatementText(q1,
                     QStringLiteral("select r.RDB$RELATION_NAME, f.RDB$FIELD_NAME from RDB$RELATIONS r\r\n"
                                    "  join RDB$RELATION_FIELDS f on f.RDB$RELATION_NAME = r.RDB$RELATION_NAME\r\n"
                                    " where r.RDB$VIEW_BLR is null and coalesce(r.RDB$SYSTEM_FLAG, 0) = 0\r\n"
                                    "   and upper(r.RDB$RELATION_NAME) in (%1)")
                         .arg(names.join(QStringLiteral(", "))));
    QHash<QString, QSet<QString>> present;
    for (q1.open(); !q1.eof(); q1.next())
        present[q1.field(0).asTrimmedText().toUpper()].insert(q1.field(1).asTrimmedText().toUpper());
    q1.close();
    return present;
}

// "no table A" or "no tables A, B"; empty for none.
QString lacking(const char *one, const char *many, const QStringList &names)
{
    if (names.isEmpty())
        return QString();
    return QLatin1String(names.size() == 1 ? one : many) + QLatin1Char(' ') + names.join(QStringLiteral(", "));
}

} // namespace

bool checkNeededColumns(TDbStatement &q1)
{
    const QHash<QString, QSet<QString>> present = presentColumns(q1);
    const bool thirdLevel = present.contains(kThirdLevelTable);

    QStringList tables;
    QStringList columns;
    QList<TNeededTable> needed = alwaysNeeded();
    if (thirdLevel)
        needed += thirdLevelNeeds();
    for (const TNeededTable &table : needed) {
        const QString name = QLatin1String(table.name);
        const auto found = present.constFind(name);
        if (found == present.constEnd()) {
            if (!tables.contains(name))
                tables << name;
            continue;
        }
        for (const QString &column : table.columns)
            if (!found->contains(column))
                columns << name + QLatin1Char('.') + column;
    }
    if (tables.isEmpty() && columns.isEmpty())
        return thirdLevel;

    QStringList parts = {lacking("no table", "no tables", tables), lacking("no column", "no columns", columns)};
    parts.removeAll(QString());
    throw EPosError(QStringLiteral("The database lacks what the program works on, so nothing is changed in it: ")
                    + parts.join(QStringLiteral("; ")) + QLatin1Char('.'));
}

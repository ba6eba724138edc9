#include "database/StatementText.h"

#include "database/DbStatement.h"

void useStatementText(TDbStatement &statement, const QString &sql)
{
    statement.close();
    if (statement.sql() != sql)
        statement.setSQL(sql);
}

#include "database/FirstRowInteger.h"

#include "database/DbStatement.h"

qint32 firstRowInteger(TDbStatement &q, const QString &column)
{
    q.open();
    const qint32 value = q.eof() ? 0 : q.field(column).asInteger();
    q.close();
    return value;
}

#include "catalogue/changeover/CodeRates.h"

#include "database/DbStatement.h"

QHash<qint32, QString> readCodeRates(TDbConnection &conx)
{
    TDbStatement rates(conx);
    rates.setSQL(QStringLiteral("select VAT_ID, RATE from TBL_VAT_CODES"));
    QHash<qint32, QString> result;
    for (rates.open(); !rates.eof(); rates.next())
        result.insert(rates.field(0).asInteger(), rates.field(1).asText());
    rates.close();
    return result;
}

#include "catalogue/data/VatRates.h"

#include "database/DbStatement.h"
#include "database/StatementText.h"
#include "log/uLog.h"

QHash<qint32, QString> readVatRates(TDbStatement &q, const std::function<QString(const TDbField &)> &text)
{
    useStatementText(q, QStringLiteral("select VAT_ID, RATE from TBL_VAT_CODES"));
    DebugLog(q.sql(), 32);
    QHash<qint32, QString> rates;
    // VAT_ID is the table's key: each code is read once.
    for (q.open(); !q.eof(); q.next())
        rates.insert(q.field(0).asInteger(), text(q.field(1)));
    q.close();
    return rates;
}

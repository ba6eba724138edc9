#include "catalogue/changeover/CodeRates.h"

#include "catalogue/data/VatRates.h"
#include "database/DbField.h"

QHash<qint32, QString> readCodeRates(TDbStatement &q1)
{
    return readVatRates(q1, [](const TDbField &rate) { return rate.asText(); });
}

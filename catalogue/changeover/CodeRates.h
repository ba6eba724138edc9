#pragma once
// The rate of every VAT code, for the change record: as stored ("9", "13.5"), so that a
// record reads the same on every machine.
#include <QHash>
#include <QString>

class TDbStatement;

// On the caller's statement, in its connection's current transaction (started on demand).
QHash<qint32, QString> readCodeRates(TDbStatement &q1);

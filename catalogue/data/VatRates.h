#pragma once
// The rate of every VAT code, read at once: the table holds a handful of rows.
#include <QHash>
#include <QString>
#include <functional>

class TDbField;
class TDbStatement;

// Every code's RATE column by its id, made text by the given function, on the caller's
// statement in its connection's current transaction (started on demand).
QHash<qint32, QString> readVatRates(TDbStatement &q, const std::function<QString(const TDbField &)> &text);

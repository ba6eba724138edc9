#pragma once
// A count with its noun, as the operator reads it.
#include <QString>

// "1 product", "3,402 products": a count and its noun, numbers in the user's form.
QString countText(qsizetype count, const QString &singular, const QString &plural);

// "1 row", "3,402 rows": the rows a run changed or a record lists.
QString rowsText(qsizetype count);

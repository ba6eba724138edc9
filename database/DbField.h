#pragma once
// One column of a statement's current row; valid until the statement moves on.
// NULL reads as 0 or empty text; NUMERIC and DECIMAL read as exact text.
#include <QString>

struct TDbColumn;

class TDbField
{
public:
    TDbField(const TDbColumn &column, const unsigned char *row);

    QString name() const;
    bool isNull() const;
    // True for integer, NUMERIC, DECIMAL and floating-point columns.
    bool isNumber() const;
    // Whole numbers; a fraction is rounded, text must hold a number that fits.
    qint32 asInteger() const;
    qint64 asInt64() const;
    double asDouble() const;
    // Text as stored (CHAR keeps its padding; CHARACTER SET NONE read as UTF-8 when valid,
    // as Windows-1252 otherwise); numbers exact ("13.5" for 13.5000).
    QString asText() const;
    // asText() without trailing blanks, for CHAR columns.
    QString asTrimmedText() const;

private:
    const TDbColumn &fColumn;
    const unsigned char *fRow;
};

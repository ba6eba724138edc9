#include "database/DbField.h"

#include "database/DbColumn.h"
#include "database/FbCall.h"
#include "util/Errors.h"
#include "util/LegacyText.h"

#include <QLocale>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

enum : unsigned { CharSetNone = 0, CharSetOctets = 1, CharSetUnicodeFss = 3, CharSetUtf8 = 4 };

template <class T>
T readAt(const unsigned char *row, unsigned offset)
{
    T value;
    std::memcpy(&value, row + offset, sizeof value);
    return value;
}

qint64 powerOfTen(int exponent)
{
    qint64 p = 1;
    while (exponent-- > 0)
        p *= 10;
    return p;
}

// The exact decimal text of a scaled integer, without trailing zeros: 135000 at -4 gives "13.5".
QString scaledText(qint64 value, int scale)
{
    if (scale >= 0)
        return QString::number(value * powerOfTen(scale));
    const bool negative = value < 0;
    const quint64 magnitude = negative ? 0 - static_cast<quint64>(value) : static_cast<quint64>(value);
    QString digits = QString::number(magnitude);
    const int decimals = -scale;
    if (digits.size() <= decimals)
        digits.prepend(QString(decimals - digits.size() + 1, u'0'));
    QString whole = digits.left(digits.size() - decimals);
    QString fraction = digits.mid(digits.size() - decimals);
    while (fraction.endsWith(u'0'))
        fraction.chop(1);
    QString text = fraction.isEmpty() ? whole : whole + u'.' + fraction;
    return negative && text != QLatin1String("0") ? u'-' + text : text;
}

unsigned bytesPerChar(unsigned charSet)
{
    switch (charSet) {
    case CharSetUtf8:
        return 4;
    case CharSetUnicodeFss:
        return 3;
    default:
        return 1;
    }
}

QString decodeText(const char *data, int size, unsigned charSet)
{
    if (charSet == CharSetOctets)
        return QString::fromLatin1(data, size);
    // The server hands NONE bytes on as stored; old back offices stored Windows-1252.
    if (charSet == CharSetNone)
        return fromUtf8OrWindows1252(QByteArrayView(data, size));
    return QString::fromUtf8(data, size);
}

QString twoDigits(unsigned n)
{
    return QString::number(n).rightJustified(2, u'0');
}

} // namespace

TDbField::TDbField(const TDbColumn &column, const unsigned char *row) : fColumn(column), fRow(row)
{
}

QString TDbField::name() const
{
    return fColumn.name;
}

bool TDbField::isNull() const
{
    return fRow == nullptr || readAt<short>(fRow, fColumn.nullOffset) != 0;
}

bool TDbField::isNumber() const
{
    switch (fColumn.type) {
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64:
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return true;
    default:
        return false;
    }
}

qint64 TDbField::asInt64() const
{
    if (isNull())
        return 0;
    switch (fColumn.type) {
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64: {
        qint64 raw = fColumn.type == SQL_SHORT ? readAt<qint16>(fRow, fColumn.offset)
            : fColumn.type == SQL_LONG         ? readAt<qint32>(fRow, fColumn.offset)
                                               : readAt<qint64>(fRow, fColumn.offset);
        if (fColumn.scale >= 0)
            return raw * powerOfTen(fColumn.scale);
        // Round half away from zero, as the server does when it casts.
        const qint64 divisor = powerOfTen(-fColumn.scale);
        const qint64 whole = raw / divisor;
        const qint64 rest = raw % divisor;
        if (2 * (rest < 0 ? -rest : rest) >= divisor)
            return whole + (raw < 0 ? -1 : 1);
        return whole;
    }
    case SQL_BOOLEAN:
        return readAt<unsigned char>(fRow, fColumn.offset) ? 1 : 0;
    case SQL_FLOAT:
    case SQL_DOUBLE: {
        const double d = std::round(asDouble());
        if (!(d >= -9.2e18 && d <= 9.2e18))
            throw EPosError(
                QStringLiteral("Column %1: %2 is not a whole number that fits").arg(fColumn.name, asText()));
        return static_cast<qint64>(d);
    }
    default: {
        bool ok = false;
        const QString text = asTrimmedText().trimmed();
        const qint64 value = text.toLongLong(&ok);
        if (!ok)
            throw EPosError(QStringLiteral("Column %1: \"%2\" is not a whole number").arg(fColumn.name, text));
        return value;
    }
    }
}

qint32 TDbField::asInteger() const
{
    const qint64 value = asInt64();
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        throw EPosError(QStringLiteral("Column %1: %2 does not fit a 32-bit integer").arg(fColumn.name).arg(value));
    return static_cast<qint32>(value);
}

double TDbField::asDouble() const
{
    if (isNull())
        return 0.0;
    switch (fColumn.type) {
    case SQL_FLOAT:
        return readAt<float>(fRow, fColumn.offset);
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return readAt<double>(fRow, fColumn.offset);
    default: {
        bool ok = false;
        const QString text = asTrimmedText().trimmed();
        const double value = text.toDouble(&ok);
        if (!ok)
            throw EPosError(QStringLiteral("Column %1: \"%2\" is not a number").arg(fColumn.name, text));
        return value;
    }
    }
}

QString TDbField::asText() const
{
    if (isNull())
        return {};
    const auto *data = reinterpret_cast<const char *>(fRow + fColumn.offset);
    switch (fColumn.type) {
    case SQL_TEXT: {
        QString text = decodeText(data, static_cast<int>(fColumn.length), fColumn.charSet);
        // Multi-byte sets pad to the byte length; keep only the declared width.
        const int width = static_cast<int>(fColumn.length / bytesPerChar(fColumn.charSet));
        while (text.size() > width && text.endsWith(u' '))
            text.chop(1);
        return text;
    }
    case SQL_VARYING:
        return decodeText(data + sizeof(quint16), readAt<quint16>(fRow, fColumn.offset), fColumn.charSet);
    case SQL_SHORT:
        return scaledText(readAt<qint16>(fRow, fColumn.offset), fColumn.scale);
    case SQL_LONG:
        return scaledText(readAt<qint32>(fRow, fColumn.offset), fColumn.scale);
    case SQL_INT64:
        return scaledText(readAt<qint64>(fRow, fColumn.offset), fColumn.scale);
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return QString::number(asDouble(), 'g', QLocale::FloatingPointShortest);
    case SQL_BOOLEAN:
        return readAt<unsigned char>(fRow, fColumn.offset) ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case SQL_TYPE_DATE:
    case SQL_TIMESTAMP: {
        unsigned year = 0, month = 0, day = 0;
        Fb::master()->getUtilInterface()->decodeDate(readAt<ISC_DATE>(fRow, fColumn.offset), &year, &month, &day);
        const QString date =
            QStringLiteral("%1-%2-%3").arg(year, 4, 10, QChar(u'0')).arg(twoDigits(month), twoDigits(day));
        if (fColumn.type == SQL_TYPE_DATE)
            return date;
        unsigned hours = 0, minutes = 0, seconds = 0, fractions = 0;
        Fb::master()->getUtilInterface()->decodeTime(readAt<ISC_TIME>(fRow, fColumn.offset + sizeof(ISC_DATE)), &hours,
                                                     &minutes, &seconds, &fractions);
        return date + u' ' + twoDigits(hours) + u':' + twoDigits(minutes) + u':' + twoDigits(seconds);
    }
    case SQL_TYPE_TIME: {
        unsigned hours = 0, minutes = 0, seconds = 0, fractions = 0;
        Fb::master()->getUtilInterface()->decodeTime(readAt<ISC_TIME>(fRow, fColumn.offset), &hours, &minutes, &seconds,
                                                     &fractions);
        return twoDigits(hours) + u':' + twoDigits(minutes) + u':' + twoDigits(seconds);
    }
    default:
        throw EPosError(QStringLiteral("Column %1: its type (%2) cannot be read").arg(fColumn.name).arg(fColumn.type));
    }
}

QString TDbField::asTrimmedText() const
{
    QString text = asText();
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

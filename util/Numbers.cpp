#include "util/Numbers.h"

#include <QLocale>

namespace {

// The integer part and first five decimals of (amount + 0.1) / 10000, as a magnitude
// and a sign, worked out exactly so that no amount loses digits to floating point.
struct ExactAmount
{
    bool negative;
    quint64 units;    // whole units
    quint64 fraction; // hundred-thousandths, 0..99999
};

ExactAmount splitAmount(qint64 amount)
{
    const bool negative = amount < 0;
    // |amount| without overflow for the smallest qint64
    const quint64 magnitude = negative ? quint64(0) - quint64(amount) : quint64(amount);
    ExactAmount result{negative, magnitude / 10000, (magnitude % 10000) * 10};
    if (!negative) {
        result.fraction += 1;
    } else if (result.fraction > 0) {
        result.fraction -= 1;
    } else {
        // -n0000 + 0.1 lies just above -n: borrow a unit
        if (result.units > 0) {
            result.units -= 1;
            result.fraction = 99999;
        }
    }
    return result;
}

// Digits of the amount rounded half-up to the given decimals, decimal point implied.
QString roundedDigits(const ExactAmount &value, int decimals)
{
    constexpr int exactDecimals = 5;
    QString fractionDigits = QStringLiteral("%1").arg(value.fraction, exactDecimals, 10, QLatin1Char('0'));
    quint64 units = value.units;
    if (decimals < exactDecimals) {
        quint64 divisor = 1;
        for (int i = decimals; i < exactDecimals; ++i)
            divisor *= 10;
        quint64 kept = value.fraction / divisor;
        if ((value.fraction % divisor) * 2 >= divisor)
            ++kept;
        quint64 carryLimit = 1;
        for (int i = 0; i < decimals; ++i)
            carryLimit *= 10;
        if (kept == carryLimit) {
            kept = 0;
            ++units;
        }
        fractionDigits = decimals > 0 ? QStringLiteral("%1").arg(kept, decimals, 10, QLatin1Char('0')) : QString();
    } else {
        fractionDigits += QString(decimals - exactDecimals, QLatin1Char('0'));
    }
    return QString::number(units) + fractionDigits;
}

// At most 18 significant digits, as the number formatting of extended floating point
// gives: later digits are rounded away half-up and written as zeros.
QString limitSignificant(const QString &digits)
{
    constexpr int maxSignificant = 18;
    int first = 0;
    while (first < digits.size() - 1 && digits[first] == QLatin1Char('0'))
        ++first;
    if (digits.size() - first <= maxSignificant)
        return digits;
    const int cut = first + maxSignificant;
    QString kept = digits.left(cut);
    if (digits[cut] >= QLatin1Char('5')) {
        int i = cut - 1;
        while (i >= 0 && kept[i] == QLatin1Char('9'))
            kept[i--] = QLatin1Char('0');
        if (i >= 0)
            kept[i] = QChar(kept[i].unicode() + 1);
        else
            kept.prepend(QLatin1Char('1'));
    }
    return kept + QString(digits.size() - cut, QLatin1Char('0'));
}

QString groupThousands(const QString &integerDigits, const QString &groupSeparator)
{
    QString grouped;
    const int count = integerDigits.size();
    for (int i = 0; i < count; ++i) {
        if (i > 0 && (count - i) % 3 == 0)
            grouped += groupSeparator;
        grouped += integerDigits[i];
    }
    return grouped;
}

} // namespace

QString FormatAmount(int decimals, bool keepThousands, bool negativesInParentheses, qint64 amount)
{
    constexpr int maxDecimals = 18;
    decimals = qBound(0, decimals, maxDecimals);
    const ExactAmount value = splitAmount(amount);
    const QString digits = limitSignificant(roundedDigits(value, decimals));
    const QString integerDigits = digits.left(digits.size() - decimals);
    const QString fractionDigits = digits.right(decimals);

    const QLocale locale;
    QString text = keepThousands ? groupThousands(integerDigits, locale.groupSeparator()) : integerDigits;
    if (decimals > 0)
        text += locale.decimalPoint() + fractionDigits;
    if (value.negative)
        text.prepend(negativesInParentheses ? QLatin1Char('(') : QLatin1Char('-'));
    if (value.negative && negativesInParentheses)
        text += QLatin1Char(')');
    return text;
}

double ParseAmount(const QString &text, double defaultValue)
{
    if (text.isEmpty())
        return defaultValue;
    QString number = text;
    const int open = number.indexOf(QLatin1Char('('));
    const int close = number.indexOf(QLatin1Char(')'));
    if (open >= 0 && close > open) {
        number.replace(QLatin1Char('('), QLatin1Char('-'));
        number.remove(QLatin1Char(')'));
    }
    const QLocale locale;
    const QString groupSeparator = locale.groupSeparator();
    if (!groupSeparator.isEmpty())
        number.remove(groupSeparator);
    bool ok = false;
    const double value = locale.toDouble(number, &ok);
    return ok ? value : 0.0;
}

QString IntToText(qint64 value)
{
    return QString::number(value);
}

qint64 TextToInt64(const QString &text, qint64 defaultValue)
{
    bool ok = false;
    const qint64 value = text.toLongLong(&ok, 10);
    return ok ? value : defaultValue;
}

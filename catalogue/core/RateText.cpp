#include "catalogue/core/RateText.h"

#include "util/Numbers.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>

QString rateText(const QString &localeRate)
{
    const double rate = ParseAmount(localeRate, 0);
    const qint64 amount = qint64(std::llround(rate * 10000));
    return FormatAmount(2, true, false, amount) + QLatin1Char('%');
}

QString localeNumberText(const QString &plainNumber)
{
    static const QRegularExpression number(QStringLiteral("^(-?)(\\d+)(?:\\.(\\d+))?$"));
    const QRegularExpressionMatch match = number.match(plainNumber);
    if (!match.hasMatch())
        return plainNumber;
    const QLocale locale;
    QString text = match.captured(1).isEmpty() ? QString() : locale.negativeSign();
    text += match.captured(2);
    if (match.hasCaptured(3))
        text += locale.decimalPoint() + match.captured(3);
    return text;
}

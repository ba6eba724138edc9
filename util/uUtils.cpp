#include "util/uUtils.h"

QString PadRight(const QString &text, int width, QChar fill, bool cut)
{
    if (fill.unicode() == 0)
        fill = QLatin1Char(' ');
    QString result = text;
    if (result.size() < width)
        result += QString(width - result.size(), fill);
    if (cut && result.size() > width)
        result = result.left(qMax(0, width));
    return result;
}

QString PadLeft(const QString &text, int width, QChar fill, bool cut)
{
    QString result = text;
    if (cut && width < result.size())
        result = result.left(qMax(0, width));
    if (result.size() < width)
        result.prepend(QString(width - result.size(), fill));
    return result;
}

QString BoolToYN(bool flag)
{
    return flag ? QStringLiteral("Y") : QStringLiteral("N");
}

bool YNToBool(const QString &text)
{
    return SameTextAscii(text, QStringLiteral("Y"));
}

bool SameTextAscii(const QString &a, const QString &b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        char16_t x = a[i].unicode();
        char16_t y = b[i].unicode();
        if (x >= u'a' && x <= u'z')
            x -= u'a' - u'A';
        if (y >= u'a' && y <= u'z')
            y -= u'a' - u'A';
        if (x != y)
            return false;
    }
    return true;
}

#include "catalogue/changeover/CountText.h"

#include <QLocale>

QString countText(qsizetype count, const QString &singular, const QString &plural)
{
    return QLocale().toString(qlonglong(count)) + QLatin1Char(' ') + (count == 1 ? singular : plural);
}

QString rowsText(qsizetype count)
{
    return countText(count, QStringLiteral("row"), QStringLiteral("rows"));
}

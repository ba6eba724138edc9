#include "tests/catalogue/differential/FirstDifference.h"

#include <algorithm>

namespace {

QString lineOrEnd(const QStringList &lines, int index)
{
    return index < lines.size() ? QLatin1Char('[') + lines[index] + QLatin1Char(']')
                                : QStringLiteral("(no more lines)");
}

} // namespace

QString firstDifference(const QString &what, const QStringList &rowByRow, const QStringList &setBased)
{
    const int common = int(std::min(rowByRow.size(), setBased.size()));
    int index = 0;
    while (index < common && rowByRow[index] == setBased[index])
        ++index;
    if (index == common && rowByRow.size() == setBased.size())
        return QString();
    return QStringLiteral(
               "%1 differ at line %2 (%3 lines row by row, %4 set-based)\n  row by row: %5\n  set-based:  %6")
        .arg(what)
        .arg(index + 1)
        .arg(rowByRow.size())
        .arg(setBased.size())
        .arg(lineOrEnd(rowByRow, index), lineOrEnd(setBased, index));
}

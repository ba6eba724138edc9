#include "backup/core/Stowline_TLB.h"

#include "util/Errors.h"

qint32 OleInt(const TOleValue &value)
{
    if (const qint32 *number = std::get_if<qint32>(&value))
        return *number;
    throw EPosError(
        QStringLiteral("Type mismatch: a number was expected, not the text \"%1\"").arg(std::get<QString>(value)));
}

QString OleText(const TOleValue &value)
{
    if (const QString *text = std::get_if<QString>(&value))
        return *text;
    throw EPosError(
        QStringLiteral("Type mismatch: a text was expected, not the number %1").arg(std::get<qint32>(value)));
}

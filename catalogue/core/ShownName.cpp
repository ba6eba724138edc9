#include "catalogue/core/ShownName.h"

QString isolatedName(const QString &name)
{
    return QChar(0x2068) + name + QChar(0x2069);
}

QString missingName()
{
    return QStringLiteral("(no name)");
}

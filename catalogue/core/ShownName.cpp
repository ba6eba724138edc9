#include "catalogue/core/ShownName.h"

#include "catalogue/core/DepartmentPlan.h"

QString isolatedName(const QString &name)
{
    return QChar(0x2068) + name + QChar(0x2069);
}

QString captionWithIsolatedName(const QString &caption)
{
    const TCaptionParts parts = splitNodeCaption(caption);
    if (parts.rate == caption)
        return caption;
    const qsizetype rateStart = caption.size() - parts.rate.size();
    return isolatedName(caption.left(rateStart)) + caption.mid(rateStart);
}

QString missingName()
{
    return QStringLiteral("(no name)");
}

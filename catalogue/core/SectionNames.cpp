#include "catalogue/core/SectionNames.h"

#include "util/Fields.h"

#include <limits>

namespace {
constexpr qint64 kShortSpan = 100000;
constexpr qint64 kWideSpan = Q_INT64_C(10000000000);
} // namespace

QString sectionName(int level, qint32 id)
{
    const qint64 span = (id >= 0 && id < kShortSpan) ? kShortSpan : kWideSpan;
    return QString::number(qint64(level) * span + id);
}

QString productKey(qint32 sid, const QString &description)
{
    if (description.isNull())
        return QString::number(sid);
    return QString::number(sid) + QLatin1Char('_') + description;
}

std::optional<qint32> productSidOfKey(const QString &key)
{
    bool isNumber = false;
    const qint64 sid = GetField(0, key, QStringLiteral("_")).toLongLong(&isNumber);
    if (!isNumber || sid < std::numeric_limits<qint32>::min() || sid > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(sid);
}

QString productDescriptionOfKey(const QString &key)
{
    const int cut = key.indexOf(QLatin1Char('_'));
    return cut < 0 ? QString() : key.mid(cut + 1);
}

#include "backup/standin/controls/TStowlineProperties.h"

#include "util/Errors.h"

TStowlineProperties::TStowlineProperties(const QString &owner) : fOwner(owner)
{
}

void TStowlineProperties::declare(TDispId id, const QString &name, const TOleValue &initial, bool readOnly)
{
    fProperties.insert(id, {name, initial, readOnly});
}

void TStowlineProperties::set(TDispId id, const TOleValue &value)
{
    auto it = fProperties.find(id);
    if (it == fProperties.end())
        throw EPosError(QStringLiteral("%1 has no property with dispatch id %2.").arg(fOwner).arg(id));
    if (it->readOnly)
        throw EPosError(QStringLiteral("%1: %2 is read-only.").arg(fOwner, it->name));
    if (value.index() != it->value.index())
        throw EPosError(
            QStringLiteral("%1: property %2 takes a %3.")
                .arg(fOwner, it->name,
                     std::holds_alternative<qint32>(it->value) ? QStringLiteral("number") : QStringLiteral("text")));
    it->value = value;
}

TOleValue TStowlineProperties::get(TDispId id) const
{
    auto it = fProperties.constFind(id);
    if (it == fProperties.cend())
        throw EPosError(QStringLiteral("%1 has no property with dispatch id %2.").arg(fOwner).arg(id));
    return it->value;
}

qint32 TStowlineProperties::intValue(TDispId id) const
{
    return OleInt(get(id));
}

QString TStowlineProperties::textValue(TDispId id) const
{
    return OleText(get(id));
}

void TStowlineProperties::store(TDispId id, const TOleValue &value)
{
    fProperties[id].value = value;
}

#include "catalogue/core/SelectionStore.h"

void TSelectionStore::write(const QString &section, const QString &key, const QString &value)
{
    auto it = fSections.find(section);
    if (it == fSections.end()) {
        fSectionOrder.append(section);
        it = fSections.insert(section, Section());
    }
    auto valueIt = it->values.find(key);
    if (valueIt == it->values.end()) {
        it->keys.append(key);
        it->values.insert(key, value);
    } else {
        *valueIt = value;
    }
}

QString TSelectionStore::read(const QString &section, const QString &key, const QString &defaultValue) const
{
    const auto it = fSections.constFind(section);
    if (it == fSections.constEnd())
        return defaultValue;
    return it->values.value(key, defaultValue);
}

QStringList TSelectionStore::keys(const QString &section) const
{
    return fSections.value(section).keys;
}

QStringList TSelectionStore::sections() const
{
    return fSectionOrder;
}

void TSelectionStore::setInAllSections(const QString &key, const QStringList &sectionNames, const QString &value)
{
    for (const QString &name : sectionNames) {
        auto it = fSections.find(name);
        if (it == fSections.end())
            continue;
        auto valueIt = it->values.find(key);
        if (valueIt != it->values.end() && !valueIt->isEmpty())
            *valueIt = value;
    }
}

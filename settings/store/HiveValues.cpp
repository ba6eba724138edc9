#include "settings/store/HiveValues.h"

#include "settings/store/HiveText.h"

namespace {

// Up to this many values a key's values are looked through one by one.
constexpr std::size_t kScanned = 16;

} // namespace

const HiveValue *HiveValues::find(const std::wstring &name) const
{
    const std::size_t at = positionOf(name);
    return at < fValues.size() ? &fValues[at] : nullptr;
}

bool HiveValues::add(const std::wstring &name, RegValue value)
{
    if (positionOf(name) < fValues.size())
        return false;
    fValues.push_back({name, std::move(value)});
    if (fValues.size() * 2 > fIndex.size())
        rebuildIndex();
    else
        index(fValues.size() - 1);
    return true;
}

void HiveValues::set(const std::wstring &name, const RegValue &value)
{
    const std::size_t at = positionOf(name);
    if (at < fValues.size())
        fValues[at].value = value;
    else
        add(name, value);
}

bool HiveValues::remove(const std::wstring &name)
{
    const std::size_t at = positionOf(name);
    if (at == fValues.size())
        return false;
    fValues.erase(fValues.begin() + static_cast<std::ptrdiff_t>(at));
    rebuildIndex(); // the positions after it moved
    return true;
}

std::size_t HiveValues::positionOf(const std::wstring &name) const
{
    if (fIndex.empty()) {
        for (std::size_t i = 0; i < fValues.size(); ++i)
            if (sameName(fValues[i].name, name))
                return i;
        return fValues.size();
    }
    const std::size_t mask = fIndex.size() - 1;
    for (std::size_t slot = nameHash(name) & mask; fIndex[slot] != 0; slot = (slot + 1) & mask)
        if (sameName(fValues[fIndex[slot] - 1].name, name))
            return fIndex[slot] - 1;
    return fValues.size();
}

void HiveValues::index(std::size_t position)
{
    const std::size_t mask = fIndex.size() - 1;
    std::size_t slot = nameHash(fValues[position].name) & mask;
    while (fIndex[slot] != 0)
        slot = (slot + 1) & mask;
    fIndex[slot] = static_cast<std::uint32_t>(position + 1);
}

void HiveValues::rebuildIndex()
{
    fIndex.clear();
    if (fValues.size() <= kScanned) {
        fIndex.shrink_to_fit();
        return;
    }
    std::size_t slots = 32;
    while (slots < fValues.size() * 4)
        slots *= 2;
    fIndex.assign(slots, 0);
    for (std::size_t i = 0; i < fValues.size(); ++i)
        index(i);
}

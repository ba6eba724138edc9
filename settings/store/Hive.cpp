#include "settings/store/Hive.h"

#include "settings/store/HiveText.h"

HiveKey *HiveKey::child(const std::wstring &childName) const
{
    const auto it = fChildren.find(foldName(childName));
    return it == fChildren.end() ? nullptr : it->second.get();
}

HiveKey &HiveKey::childOrNew(const std::wstring &childName)
{
    auto &slot = fChildren[foldName(childName)];
    if (!slot)
        slot = std::make_unique<HiveKey>(childName);
    return *slot;
}

bool HiveKey::removeChild(const std::wstring &childName)
{
    return fChildren.erase(foldName(childName)) > 0;
}

std::vector<const HiveKey *> HiveKey::children() const
{
    std::vector<const HiveKey *> list;
    list.reserve(fChildren.size());
    for (const auto &entry : fChildren)
        list.push_back(entry.second.get());
    return list;
}

const HiveValue *HiveKey::value(const std::wstring &valueName) const
{
    for (const HiveValue &v : values)
        if (sameName(v.name, valueName))
            return &v;
    return nullptr;
}

void HiveKey::setValue(const std::wstring &valueName, const RegValue &value)
{
    for (HiveValue &v : values)
        if (sameName(v.name, valueName)) {
            v.value = value;
            return;
        }
    values.push_back({valueName, value});
}

bool HiveKey::removeValue(const std::wstring &valueName)
{
    for (auto it = values.begin(); it != values.end(); ++it)
        if (sameName(it->name, valueName)) {
            values.erase(it);
            return true;
        }
    return false;
}

bool splitKeyPath(const std::wstring &path, KeyPath &parts)
{
    parts.clear();
    if (path.empty())
        return true;
    std::wstring::size_type start = 0;
    for (;;) {
        const auto end = path.find(L'\\', start);
        if (end == std::wstring::npos) {
            if (start == path.size())
                return true; // the one trailing "\"
            parts.push_back(path.substr(start));
            return true;
        }
        if (end == start)
            return false;
        parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
}

HiveKey *findKey(HiveKey &root, const KeyPath &path)
{
    HiveKey *key = &root;
    for (const std::wstring &part : path) {
        key = key->child(part);
        if (!key)
            return nullptr;
    }
    return key;
}

#include "settings/store/Hive.h"

#include "settings/store/HiveText.h"

HiveKey::~HiveKey()
{
    std::vector<std::unique_ptr<HiveKey>> pending;
    const auto takeChildren = [&pending](HiveKey &key) {
        for (auto &entry : key.fChildren)
            pending.push_back(std::move(entry.second));
        key.fChildren.clear();
    };
    takeChildren(*this);
    while (!pending.empty()) {
        std::unique_ptr<HiveKey> key = std::move(pending.back());
        pending.pop_back();
        takeChildren(*key); // so that freeing it frees no key below it
    }
}

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

std::size_t wow64NodeNames(RegRoot root, const KeyPath &path)
{
    if (root != RegRoot::LocalMachine || path.empty() || !sameName(path[0], L"SOFTWARE"))
        return 0;
    std::size_t count = 0;
    while (count + 1 < path.size() && sameName(path[count + 1], L"WOW6432Node"))
        ++count;
    return count;
}

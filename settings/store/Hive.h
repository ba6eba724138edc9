#pragma once
// A hive in memory: a tree of keys, each with its values in the order they
// were created and its subkeys in the registry's enumeration order.
#include "settings/store/RegistryStore.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

struct HiveValue
{
    std::wstring name;
    RegValue value;
};

class HiveKey
{
public:
    explicit HiveKey(std::wstring keyName = {}) : name(std::move(keyName)) {}

    std::wstring name;             // as created
    std::vector<HiveValue> values; // in creation order

    HiveKey *child(const std::wstring &childName) const;
    // The child of that name, created (with that spelling) when missing.
    HiveKey &childOrNew(const std::wstring &childName);
    bool removeChild(const std::wstring &childName);
    // Children in enumeration order: case-insensitive alphabetical.
    std::vector<const HiveKey *> children() const;

    const HiveValue *value(const std::wstring &valueName) const;
    // Creates the value or replaces its type and data where it stands.
    void setValue(const std::wstring &valueName, const RegValue &value);
    bool removeValue(const std::wstring &valueName);

private:
    // Keyed by the folded name, so the map's order is the enumeration order.
    std::map<std::wstring, std::unique_ptr<HiveKey>> fChildren;
};

// A key path split at "\": false for a path the registry refuses (a leading
// "\" or an empty name inside it). One trailing "\" is allowed.
using KeyPath = std::vector<std::wstring>;
bool splitKeyPath(const std::wstring &path, KeyPath &parts);
HiveKey *findKey(HiveKey &root, const KeyPath &path);

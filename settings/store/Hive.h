#pragma once
// A hive in memory: a tree of keys, each with its values in the order they
// were created and its subkeys in the registry's enumeration order. A hive
// file may hold any number of keys and values, so nothing here walks the tree
// by recursion or looks a value up by scanning its key.
#include "settings/store/HiveValues.h"

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <vector>

// The registry's own limits, which the store and its files keep: a key name of
// at most 255 UTF-16 units, and at most 512 keys in a path below the root key.
constexpr std::size_t kMaxKeyName = 255;
constexpr std::size_t kMaxKeyDepth = 512;

class HiveKey
{
public:
    explicit HiveKey(std::wstring keyName = {}) : name(std::move(keyName)) {}
    // Frees the keys below one by one: a path deep enough would overflow the stack.
    ~HiveKey();
    HiveKey(const HiveKey &) = delete;
    HiveKey &operator=(const HiveKey &) = delete;

    std::wstring name; // as created
    HiveValues values; // in creation order

    HiveKey *child(const std::wstring &childName) const;
    // The child of that name, created (with that spelling) when missing.
    HiveKey &childOrNew(const std::wstring &childName);
    bool removeChild(const std::wstring &childName);
    // Children in enumeration order: case-insensitive alphabetical.
    std::vector<const HiveKey *> children() const;

    const HiveValue *value(const std::wstring &valueName) const { return values.find(valueName); }
    // Adds the value; false, with nothing changed, when the key has one of that name.
    bool addValue(const std::wstring &valueName, RegValue value) { return values.add(valueName, std::move(value)); }
    // Creates the value or replaces its type and data where it stands.
    void setValue(const std::wstring &valueName, const RegValue &value) { values.set(valueName, value); }
    bool removeValue(const std::wstring &valueName) { return values.remove(valueName); }

private:
    // Keyed by the folded name, so the map's order is the enumeration order.
    std::map<std::wstring, std::unique_ptr<HiveKey>> fChildren;
};

// A key path split at "\": false for a path the registry refuses (a leading
// "\" or an empty name inside it). One trailing "\" is allowed.
using KeyPath = std::vector<std::wstring>;
bool splitKeyPath(const std::wstring &path, KeyPath &parts);
HiveKey *findKey(HiveKey &root, const KeyPath &path);

// How many names WOW6432Node follow SOFTWARE at the start of the machine
// hive's path. The machine hive holds the 32-bit view, where SOFTWARE\WOW6432Node
// is the 64-bit registry's name for SOFTWARE itself, never a key of its own.
std::size_t wow64NodeNames(RegRoot root, const KeyPath &path);

#pragma once
// A key's values in the order they were created, found by name in constant
// time whatever their number: a hive file may give one key any number of values.
// Read by anyone; changed through the key that holds them (Hive.h).
#include "settings/store/RegistryStore.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct HiveValue
{
    std::wstring name;
    RegValue value;
};

class HiveValues
{
public:
    using const_iterator = std::vector<HiveValue>::const_iterator;
    const_iterator begin() const { return fValues.begin(); }
    const_iterator end() const { return fValues.end(); }
    std::size_t size() const { return fValues.size(); }
    const HiveValue &operator[](std::size_t i) const { return fValues[i]; }

private:
    friend class HiveKey;

    const HiveValue *find(const std::wstring &name) const;
    // False, with nothing changed, when there is a value of that name.
    bool add(const std::wstring &name, RegValue value);
    // Creates the value or replaces its type and data where it stands.
    void set(const std::wstring &name, const RegValue &value);
    bool remove(const std::wstring &name);

    // The position of the value of that name, or size().
    std::size_t positionOf(const std::wstring &name) const;
    void index(std::size_t position);
    void rebuildIndex();

    std::vector<HiveValue> fValues;
    // Past a few values, their positions + 1 in an open-addressed table by the
    // hash of the folded name (HiveText.h), 0 where empty, at most half full:
    // 8 to 16 bytes a value, a fraction of what a node-based set takes.
    std::vector<std::uint32_t> fIndex;
};

// The hive text format (a settings file, or what the registry editor exports) as either
// root reads it. A hive that reads must write, and what is written must read back as the
// same tree and write as the same bytes again; anything else aborts.
#include "settings/store/HiveFormat.h"

#include <cstdlib>
#include <string>

namespace {

bool sameValues(const HiveKey &a, const HiveKey &b)
{
    if (a.values.size() != b.values.size())
        return false;
    for (std::size_t i = 0; i < a.values.size(); ++i) {
        const HiveValue &x = a.values[i];
        const HiveValue &y = b.values[i];
        if (x.name != y.name || x.value.type != y.value.type || x.value.data != y.value.data)
            return false;
    }
    return true;
}

bool sameTree(const HiveKey &a, const HiveKey &b)
{
    if (a.name != b.name || !sameValues(a, b))
        return false;
    const auto aChildren = a.children();
    const auto bChildren = b.children();
    if (aChildren.size() != bChildren.size())
        return false;
    for (std::size_t i = 0; i < aChildren.size(); ++i)
        if (!sameTree(*aChildren[i], *bChildren[i]))
            return false;
    return true;
}

void readAndWriteBack(const std::string &bytes, RegRoot root)
{
    std::unique_ptr<HiveKey> hive;
    try {
        hive = parseHive(bytes, root, "fuzz.reg");
    } catch (const RegistryStoreError &) {
        return; // refused with its reason, as the program shows it
    }
    const std::string written = writeHive(*hive, root);
    std::unique_ptr<HiveKey> again;
    try {
        again = parseHive(written, root, "written.reg");
    } catch (const RegistryStoreError &) {
        std::abort(); // the store could not read its own hive
    }
    if (!sameTree(*hive, *again) || writeHive(*again, root) != written)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    readAndWriteBack(bytes, RegRoot::LocalMachine);
    readAndWriteBack(bytes, RegRoot::CurrentUser);
    return 0;
}

// Writes <count> integer values named <prefix><n> into HKEY_CURRENT_USER\SOFTWARE\Race
// of the registry in $PORDANE_REGISTRY_DIR, one change at a time: the other
// half of the two-process writer test.
#include "settings/store/RegistryStore.h"

#include <cstdlib>
#include <string>

int main(int argc, char **argv)
{
    if (argc != 3)
        return 2;
    const int count = std::atoi(argv[1]);
    const std::string prefix = argv[2];
    for (int i = 0; i < count; ++i) {
        std::unique_ptr<RegistryKey> key;
        if (platformRegistry().createKey(RegRoot::CurrentUser, L"SOFTWARE\\Race", RegAccess::All, key)
            != RegResult::Success)
            return 1;
        const std::string name = prefix + std::to_string(i);
        const std::uint32_t value = static_cast<std::uint32_t>(i);
        const std::uint8_t data[4] = {std::uint8_t(value), std::uint8_t(value >> 8), 0, 0};
        if (key->setValue(std::wstring(name.begin(), name.end()), RegType::Dword, data, 4) != RegResult::Success)
            return 1;
    }
    return 0;
}

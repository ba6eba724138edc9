#pragma once
// The registry store on Windows: every call goes straight to the Win32
// registry. HKEY_LOCAL_MACHINE is always reached in its 32-bit view, where the
// suite's other programs keep their settings, whatever this build's bitness.
#include "settings/store/RegistryStore.h"

class Win32RegistryStore : public RegistryStore
{
public:
    RegResult openKey(RegRoot root, const std::wstring &path, RegAccess access,
                      std::unique_ptr<RegistryKey> &key) override;
    RegResult createKey(RegRoot root, const std::wstring &path, RegAccess access,
                        std::unique_ptr<RegistryKey> &key) override;
};

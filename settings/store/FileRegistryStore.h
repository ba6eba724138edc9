#pragma once
// The registry kept in hive files, one per root, in the registry editor's text
// format (see HiveFormat.h).
#include "RegistryStore.h"

class FileRegistryStore : public RegistryStore
{
public:
    RegResult openKey(RegRoot root, const std::wstring &path, RegAccess access,
                      std::unique_ptr<RegistryKey> &key) override;
    RegResult createKey(RegRoot root, const std::wstring &path, RegAccess access,
                        std::unique_ptr<RegistryKey> &key) override;
};

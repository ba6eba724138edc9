#pragma once
// The registry kept in hive files, one per root (HiveFile.h says where), in
// the registry editor's text format (HiveFormat.h). Every call reads the hive
// as its file holds it at that moment; a parsed hive is reused only while the
// file is provably the same one. A change is written whole under the hive's
// lock; a change that stores what is already there writes nothing.
#include "settings/store/RegistryStore.h"

#include <memory>

class FileRegistryStore : public RegistryStore
{
public:
    FileRegistryStore();
    ~FileRegistryStore() override;

    RegResult openKey(RegRoot root, const std::wstring &path, RegAccess access,
                      std::unique_ptr<RegistryKey> &key) override;
    RegResult createKey(RegRoot root, const std::wstring &path, RegAccess access,
                        std::unique_ptr<RegistryKey> &key) override;

    class Hives;

private:
    RegResult open(RegRoot root, const std::wstring &path, RegAccess access, bool create,
                   std::unique_ptr<RegistryKey> &key);

    std::shared_ptr<Hives> fHives;
};

#pragma once
// The registry kept in hive files, one per root (HiveFile.h says where), in
// the registry editor's text format (HiveFormat.h). Every call reads the hive
// as its file holds it at that moment; a parsed hive is reused only while the
// file is provably the same one. A change is written whole under the hive's
// lock; a change that stores what is already there writes nothing. A change
// that finds the lock held longer than `lockWait` throws RegistryStoreError.
#include "settings/store/RegistryStore.h"

#include <chrono>
#include <memory>

// How long a change waits for another program to let go of a hive's lock. A
// program holding it longer is hung or stopped in a debugger: waiting on would
// hang this one too, with no window to tell why.
constexpr std::chrono::milliseconds kHiveLockWait{5000};

class FileRegistryStore : public RegistryStore
{
public:
    explicit FileRegistryStore(std::chrono::milliseconds lockWait = kHiveLockWait);
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

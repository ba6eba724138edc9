#include "FileRegistryStore.h"

RegResult FileRegistryStore::openKey(RegRoot, const std::wstring &, RegAccess,
                                     std::unique_ptr<RegistryKey> &)
{
    return RegResult::NotFound;
}

RegResult FileRegistryStore::createKey(RegRoot, const std::wstring &, RegAccess,
                                       std::unique_ptr<RegistryKey> &)
{
    return RegResult::AccessDenied;
}

RegistryStore &platformRegistry()
{
    static FileRegistryStore store;
    return store;
}

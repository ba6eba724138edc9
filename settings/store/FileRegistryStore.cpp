#include "settings/store/FileRegistryStore.h"

#include "settings/store/Hive.h"
#include "settings/store/HiveFile.h"
#include "settings/store/HiveFormat.h"

#include <cstring>
#include <functional>
#include <map>
#include <mutex>

namespace {

// The registry's limit on a value name's length, in UTF-16 units.
constexpr std::size_t kMaxValueName = 16383;

bool validName(const std::wstring &name, std::size_t maxLength = kMaxValueName)
{
    return name.size() <= maxLength && name.find_first_of(std::wstring(L"\r\n\0", 3)) == std::wstring::npos;
}

// A path of a key the registry could hold. The machine hive's SOFTWARE\WOW6432Node
// is only another name for SOFTWARE (Hive.h), refused so that no key of that
// name gets into a hive.
bool validPath(RegRoot root, const KeyPath &path)
{
    if (path.size() > kMaxKeyDepth || wow64NodeNames(root, path) > 0)
        return false;
    for (const std::wstring &part : path)
        if (!validName(part, kMaxKeyName))
            return false;
    return true;
}

} // namespace

// The hives of this process as last read, and the lock that serialises calls.
class FileRegistryStore::Hives
{
public:
    explicit Hives(std::chrono::milliseconds lockWait) : fLockWait(lockWait) {}

    std::mutex mutex;

    // The hive as its file holds it now (empty when there is no file).
    HiveKey &current(RegRoot root, const std::string &path)
    {
        const FileIdentity id = identityOf(path);
        Entry &entry = fCache[path];
        if (entry.hive && entry.id == id)
            return *entry.hive;
        entry.hive.reset();
        std::string bytes;
        std::unique_ptr<HiveKey> hive =
            readWholeFile(path, bytes) ? parseHive(bytes, root, path) : std::make_unique<HiveKey>(rootKeyName(root));
        entry.id = id;
        entry.hive = std::move(hive);
        return *entry.hive;
    }

    // Runs change on the current hive under the hive's lock; writes the hive
    // back when change reports that it changed something.
    RegResult update(RegRoot root, const std::string &path, const std::function<RegResult(HiveKey &, bool &)> &change)
    {
        HiveLock lock(path, fLockWait);
        if (!lock.locked())
            return RegResult::AccessDenied;
        HiveKey &hive = current(root, path);
        bool changed = false;
        const RegResult result = change(hive, changed);
        if (result != RegResult::Success || !changed)
            return result;
        if (!replaceFile(path, writeHive(hive, root))) {
            fCache.erase(path); // memory holds a change the file does not
            return RegResult::CantWrite;
        }
        fCache[path].id = identityOf(path);
        return RegResult::Success;
    }

private:
    struct Entry
    {
        FileIdentity id;
        std::unique_ptr<HiveKey> hive;
    };
    std::chrono::milliseconds fLockWait;
    std::map<std::string, Entry> fCache;
};

namespace {

class FileRegistryKey : public RegistryKey
{
public:
    FileRegistryKey(std::shared_ptr<FileRegistryStore::Hives> hives, RegRoot root, std::string file, KeyPath path,
                    RegAccess access)
        : fHives(std::move(hives)), fRoot(root), fFile(std::move(file)), fPath(std::move(path)), fAccess(access)
    {
    }

    RegResult queryValue(const std::wstring &name, RegType *type, std::uint8_t *data, std::uint32_t *size) override
    {
        if (data && !size)
            return RegResult::InvalidParameter;
        std::lock_guard<std::mutex> guard(fHives->mutex);
        const HiveKey *key = currentKey();
        if (!key)
            return RegResult::KeyDeleted;
        const HiveValue *value = key->value(name);
        if (!value)
            return RegResult::NotFound;
        const auto needed = static_cast<std::uint32_t>(value->value.data.size());
        if (type)
            *type = value->value.type;
        if (data && *size < needed) {
            *size = needed;
            return RegResult::MoreData;
        }
        if (data && needed > 0)
            std::memcpy(data, value->value.data.data(), needed);
        if (size)
            *size = needed;
        return RegResult::Success;
    }

    RegResult setValue(const std::wstring &name, RegType type, const std::uint8_t *data, std::uint32_t size) override
    {
        if (!validName(name) || (!data && size > 0))
            return RegResult::InvalidParameter;
        if (fAccess != RegAccess::All)
            return RegResult::AccessDenied;
        RegValue value;
        value.type = type;
        if (size > 0)
            value.data.assign(data, data + size);
        std::lock_guard<std::mutex> guard(fHives->mutex);
        const HiveKey *key = currentKey();
        if (!key)
            return RegResult::KeyDeleted;
        // Storing what is already there writes nothing.
        const HiveValue *old = key->value(name);
        if (old && old->value.type == type && old->value.data == value.data)
            return RegResult::Success;
        return updateKey([&](HiveKey &fresh) {
            fresh.setValue(name, value);
            return true;
        });
    }

    RegResult deleteValue(const std::wstring &name) override
    {
        if (fAccess != RegAccess::All)
            return RegResult::AccessDenied;
        std::lock_guard<std::mutex> guard(fHives->mutex);
        const HiveKey *key = currentKey();
        if (!key)
            return RegResult::KeyDeleted;
        if (!key->value(name))
            return RegResult::NotFound;
        return updateKey([&](HiveKey &fresh) { return fresh.removeValue(name); });
    }

    RegResult deleteTree(const std::wstring &subKey) override
    {
        KeyPath sub;
        if (subKey.empty() || !splitKeyPath(subKey, sub) || sub.empty())
            return RegResult::InvalidParameter;
        KeyPath whole = fPath;
        whole.insert(whole.end(), sub.begin(), sub.end());
        if (!validPath(fRoot, whole))
            return RegResult::InvalidParameter;
        if (fAccess != RegAccess::All)
            return RegResult::AccessDenied;
        std::lock_guard<std::mutex> guard(fHives->mutex);
        HiveKey *key = currentKey();
        if (!key)
            return RegResult::KeyDeleted;
        const std::wstring last = sub.back();
        sub.pop_back();
        const HiveKey *parent = findKey(*key, sub);
        if (!parent || !parent->child(last))
            return RegResult::NotFound;
        return updateKey([&](HiveKey &fresh) {
            HiveKey *freshParent = findKey(fresh, sub);
            return freshParent && freshParent->removeChild(last);
        });
    }

    RegResult enumSubKeys(std::vector<std::wstring> &names) override
    {
        std::lock_guard<std::mutex> guard(fHives->mutex);
        const HiveKey *key = currentKey();
        if (!key)
            return RegResult::KeyDeleted;
        names.clear();
        for (const HiveKey *child : key->children())
            names.push_back(child->name);
        return RegResult::Success;
    }

    RegResult enumValues(std::vector<std::wstring> &names) override
    {
        std::lock_guard<std::mutex> guard(fHives->mutex);
        const HiveKey *key = currentKey();
        if (!key)
            return RegResult::KeyDeleted;
        names.clear();
        for (const HiveValue &value : key->values)
            names.push_back(value.name);
        return RegResult::Success;
    }

private:
    // This key in the hive as its file holds it now; call with the mutex held.
    HiveKey *currentKey() { return findKey(fHives->current(fRoot, fFile), fPath); }

    // Applies a change to this key under the hive's lock, on the hive read
    // afresh; change returns whether it changed anything.
    RegResult updateKey(const std::function<bool(HiveKey &)> &change)
    {
        bool deleted = false;
        const RegResult result = fHives->update(fRoot, fFile, [&](HiveKey &hive, bool &changed) {
            HiveKey *fresh = findKey(hive, fPath);
            deleted = !fresh;
            changed = fresh && change(*fresh);
            return RegResult::Success;
        });
        return deleted ? RegResult::KeyDeleted : result;
    }

    std::shared_ptr<FileRegistryStore::Hives> fHives;
    RegRoot fRoot;
    std::string fFile;
    KeyPath fPath;
    RegAccess fAccess;
};

} // namespace

FileRegistryStore::FileRegistryStore(std::chrono::milliseconds lockWait) : fHives(std::make_shared<Hives>(lockWait))
{
}

FileRegistryStore::~FileRegistryStore() = default;

RegResult FileRegistryStore::openKey(RegRoot root, const std::wstring &path, RegAccess access,
                                     std::unique_ptr<RegistryKey> &key)
{
    return open(root, path, access, false, key);
}

RegResult FileRegistryStore::createKey(RegRoot root, const std::wstring &path, RegAccess access,
                                       std::unique_ptr<RegistryKey> &key)
{
    return open(root, path, access, true, key);
}

RegResult FileRegistryStore::open(RegRoot root, const std::wstring &path, RegAccess access, bool create,
                                  std::unique_ptr<RegistryKey> &key)
{
    KeyPath parts;
    if (!splitKeyPath(path, parts) || !validPath(root, parts))
        return RegResult::InvalidParameter;
    const std::string file = hiveFilePath(root);
    std::lock_guard<std::mutex> guard(fHives->mutex);
    const bool exists = findKey(fHives->current(root, file), parts) != nullptr;
    if (!exists && !create)
        return RegResult::NotFound;
    // Full access, and any creating, need a hive this process may write.
    if ((access == RegAccess::All || !exists) && !hiveWritable(file))
        return RegResult::AccessDenied;
    if (!exists) {
        const RegResult created = fHives->update(root, file, [&](HiveKey &hive, bool &changed) {
            HiveKey *k = &hive;
            for (const std::wstring &part : parts) {
                HiveKey *next = k->child(part);
                changed = changed || !next;
                k = next ? next : &k->childOrNew(part);
            }
            return RegResult::Success;
        });
        if (created != RegResult::Success)
            return created;
    }
    key = std::make_unique<FileRegistryKey>(fHives, root, file, std::move(parts), access);
    return RegResult::Success;
}

RegistryStore &platformRegistry()
{
    static FileRegistryStore store;
    return store;
}

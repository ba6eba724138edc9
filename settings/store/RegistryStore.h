#pragma once
// The registry as the program sees it: keys below two roots, each key holding
// named, typed values. The calls follow the Win32 registry calls one to one, so
// that one implementation passes straight through to them and another keeps
// the same behaviour in hive files. Plain C++17 without Qt, so that the store
// cross-compiles and runs on its own.
//
// Names and paths are UTF-16 code units held in std::wstring (on Linux each
// wchar_t holds one UTF-16 code unit). Value data are the raw bytes the registry
// keeps: a text value (Sz, ExpandSz) is UTF-16LE with its ending NUL, a Dword
// is 4 bytes little-endian.
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// HKEY_LOCAL_MACHINE (the 32-bit view on Windows) and HKEY_CURRENT_USER.
enum class RegRoot { LocalMachine, CurrentUser };

// KEY_READ or KEY_ALL_ACCESS.
enum class RegAccess { Read, All };

// Results carry the numbers of the Win32 error codes they stand for; a Win32
// implementation may hand on any other code of the registry unchanged.
enum class RegResult : long {
    Success = 0,           // ERROR_SUCCESS
    NotFound = 2,          // ERROR_FILE_NOT_FOUND: no such key or value
    AccessDenied = 5,      // ERROR_ACCESS_DENIED: e.g. a write through a key opened for reading
    InvalidParameter = 87, // ERROR_INVALID_PARAMETER: e.g. an empty part inside a path
    MoreData = 234,        // ERROR_MORE_DATA: the caller's buffer is too small
    CantWrite = 1013,      // ERROR_CANTWRITE: the change could not be stored
    KeyDeleted = 1018,     // ERROR_KEY_DELETED: the open key was deleted meanwhile
};

// Value types with the registry's own numbers (REG_NONE ... REG_QWORD). Any
// other number is a valid type too and is kept as it is.
enum class RegType : std::uint32_t {
    None = 0,
    Sz = 1,
    ExpandSz = 2,
    Binary = 3,
    Dword = 4,
    DwordBigEndian = 5,
    Link = 6,
    MultiSz = 7,
    Qword = 11,
};

// A value as read whole.
struct RegValue
{
    RegType type = RegType::None;
    std::vector<std::uint8_t> data;
};

// The backing store itself is unusable (a hive file that cannot be parsed or
// read, or that another program keeps locked). Not a registry result: the
// message names the file (and the line of a parse error), and the store has
// changed nothing.
class RegistryStoreError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// An open key (an HKEY). Destroying it closes it. Every call works on the
// registry as it is at that moment; the key object caches nothing.
class RegistryKey
{
public:
    virtual ~RegistryKey() = default;

    // RegQueryValueExW. The empty name is the key's unnamed value. `type`,
    // `data` and `size` may each be null; with `data` null the size alone is
    // reported. When *size is smaller than the value: MoreData, with *size set
    // to the size needed and *type set (the buffer's contents are undefined).
    virtual RegResult queryValue(const std::wstring &name, RegType *type, std::uint8_t *data, std::uint32_t *size) = 0;

    // RegSetValueExW: creates or replaces the value, type included. A key
    // opened with RegAccess::Read gives AccessDenied.
    virtual RegResult setValue(const std::wstring &name, RegType type, const std::uint8_t *data,
                               std::uint32_t size) = 0;

    // RegDeleteValueW: NotFound when there is no such value.
    virtual RegResult deleteValue(const std::wstring &name) = 0;

    // RegDeleteTreeW with a subkey: deletes the subkey (a name or a relative
    // path, never empty) with every key and value below it. NotFound when it
    // does not exist.
    virtual RegResult deleteTree(const std::wstring &subKey) = 0;

    // RegEnumKeyExW over all indexes: the names of the direct subkeys, in the
    // registry's order (case-insensitive alphabetical).
    virtual RegResult enumSubKeys(std::vector<std::wstring> &names) = 0;

    // RegEnumValueW over all indexes: the value names, in the registry's order
    // (the order of creation); the unnamed value appears as the empty name.
    virtual RegResult enumValues(std::vector<std::wstring> &names) = 0;

    // The whole value in one call; retries when the value grows between
    // asking for its size and reading it.
    RegResult readValue(const std::wstring &name, RegValue &value)
    {
        for (;;) {
            std::uint32_t size = 0;
            RegResult r = queryValue(name, &value.type, nullptr, &size);
            if (r != RegResult::Success)
                return r;
            value.data.resize(size);
            r = queryValue(name, &value.type, value.data.data(), &size);
            if (r == RegResult::MoreData)
                continue;
            if (r == RegResult::Success)
                value.data.resize(size);
            return r;
        }
    }

    RegResult writeValue(const std::wstring &name, const RegValue &value)
    {
        return setValue(name, value.type, value.data.data(), static_cast<std::uint32_t>(value.data.size()));
    }
};

// The registry: opens keys below a root. Paths are relative to the root, with
// "\" between key names; the empty path is the root key itself and one
// trailing "\" is ignored. Names compare without regard to case and keep the
// case they were created with. Any call of a store or of its keys may throw
// RegistryStoreError when the backing store is unusable.
class RegistryStore
{
public:
    virtual ~RegistryStore() = default;

    // RegOpenKeyExW: opens an existing key. NotFound when a key of the path is
    // missing; AccessDenied when the access asked for is not granted.
    virtual RegResult openKey(RegRoot root, const std::wstring &path, RegAccess access,
                              std::unique_ptr<RegistryKey> &key) = 0;

    // RegCreateKeyExW: opens the key, first creating every missing key of the path.
    virtual RegResult createKey(RegRoot root, const std::wstring &path, RegAccess access,
                                std::unique_ptr<RegistryKey> &key) = 0;
};

// The registry of the platform the program was built for, chosen by the build:
// the Win32 registry on Windows, hive files elsewhere. One per process.
RegistryStore &platformRegistry();

#include "settings/store/Win32RegistryStore.h"

#include <windows.h>

#include <algorithm>
#include <utility>

namespace {

RegResult result(LSTATUS status)
{
    return static_cast<RegResult>(status);
}

HKEY rootHandle(RegRoot root)
{
    return root == RegRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

REGSAM samOf(RegAccess access)
{
    return (access == RegAccess::All ? KEY_ALL_ACCESS : KEY_READ) | KEY_WOW64_32KEY;
}

// The registry's limit on one key name, in UTF-16 units.
constexpr std::size_t kMaxKeyName = 255;

// A path as the store takes it: one trailing backslash is ignored; an empty
// name inside it, or one longer than the registry holds, is refused here, so
// that Windows and Wine (which passes over empty names and allows one more
// character) answer alike.
bool normalisePath(const std::wstring &path, std::wstring &normal)
{
    normal = path;
    if (!normal.empty() && normal.back() == L'\\')
        normal.pop_back();
    if (normal.empty())
        return path.empty();
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = normal.find(L'\\', start);
        const std::size_t length = (end == std::wstring::npos ? normal.size() : end) - start;
        if (length == 0 || length > kMaxKeyName)
            return false;
        if (end == std::wstring::npos)
            return true;
        start = end + 1;
    }
}

// Owns one HKEY and closes it on every path out.
class KeyHandle
{
public:
    KeyHandle() = default;
    KeyHandle(KeyHandle &&other) noexcept : fKey(std::exchange(other.fKey, nullptr)) {}
    KeyHandle &operator=(KeyHandle &&) = delete;
    ~KeyHandle()
    {
        if (fKey)
            RegCloseKey(fKey);
    }

    HKEY get() const { return fKey; }
    HKEY *receive() { return &fKey; }

private:
    HKEY fKey = nullptr;
};

class Win32RegistryKey : public RegistryKey
{
public:
    Win32RegistryKey(KeyHandle key, RegAccess access) : fKey(std::move(key)), fAccess(access) {}

    RegResult queryValue(const std::wstring &name, RegType *type, std::uint8_t *data, std::uint32_t *size) override
    {
        DWORD rawType = 0;
        DWORD rawSize = size ? *size : 0;
        const LSTATUS status =
            RegQueryValueExW(fKey.get(), name.c_str(), nullptr, &rawType, data, size ? &rawSize : nullptr);
        if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
            if (type)
                *type = static_cast<RegType>(rawType);
            if (size)
                *size = rawSize;
        }
        return result(status);
    }

    RegResult setValue(const std::wstring &name, RegType type, const std::uint8_t *data, std::uint32_t size) override
    {
        if (!data && size > 0)
            return RegResult::InvalidParameter;
        // For a text type the registry adds an ending NUL that the size leaves
        // out whenever the memory just past the data happens to hold one. The
        // data go through a copy fenced on both sides, so exactly the bytes
        // given are stored, whatever lies around the caller's buffer.
        std::vector<std::uint8_t> fenced(size + 4, 0);
        if (size)
            std::copy(data, data + size, fenced.begin() + 2);
        fenced[size + 2] = 0xFF;
        fenced[size + 3] = 0xFF;
        return result(RegSetValueExW(fKey.get(), name.c_str(), 0, static_cast<DWORD>(type), fenced.data() + 2, size));
    }

    RegResult deleteValue(const std::wstring &name) override
    {
        return result(RegDeleteValueW(fKey.get(), name.c_str()));
    }

    RegResult deleteTree(const std::wstring &subKey) override
    {
        std::wstring path;
        if (!normalisePath(subKey, path) || path.empty())
            return RegResult::InvalidParameter;
        // RegDeleteTreeW opens what it deletes by itself, so the registry would
        // delete through a key opened for reading; such a key changes nothing.
        if (fAccess == RegAccess::Read)
            return RegResult::AccessDenied;
        // RegDeleteTreeW takes no registry view, and from a root handle it would
        // find the subkey in the other view. The subkey's parent, opened here in
        // the 32-bit view, leaves it only the last name to resolve.
        const std::size_t split = path.rfind(L'\\');
        if (split == std::wstring::npos)
            return result(RegDeleteTreeW(fKey.get(), path.c_str()));
        KeyHandle parent;
        const LSTATUS opened =
            RegOpenKeyExW(fKey.get(), path.substr(0, split).c_str(), 0, samOf(RegAccess::All), parent.receive());
        if (opened != ERROR_SUCCESS)
            return result(opened);
        return result(RegDeleteTreeW(parent.get(), path.substr(split + 1).c_str()));
    }

    RegResult enumSubKeys(std::vector<std::wstring> &names) override
    {
        return enumerate(names, [this](DWORD index, wchar_t *name, DWORD *length) {
            return RegEnumKeyExW(fKey.get(), index, name, length, nullptr, nullptr, nullptr, nullptr);
        });
    }

    RegResult enumValues(std::vector<std::wstring> &names) override
    {
        return enumerate(names, [this](DWORD index, wchar_t *name, DWORD *length) {
            return RegEnumValueW(fKey.get(), index, name, length, nullptr, nullptr, nullptr, nullptr);
        });
    }

private:
    // Walks the indexes until ERROR_NO_MORE_ITEMS, growing the name buffer
    // whenever a name does not fit. `enumAt` takes the buffer length in
    // characters, the ending NUL included, and gives back the name's length.
    template <typename EnumAt>
    static RegResult enumerate(std::vector<std::wstring> &names, EnumAt enumAt)
    {
        names.clear();
        std::wstring buffer(256, L'\0');
        for (DWORD index = 0;;) {
            DWORD length = static_cast<DWORD>(buffer.size());
            const LSTATUS status = enumAt(index, &buffer[0], &length);
            if (status == ERROR_NO_MORE_ITEMS)
                return RegResult::Success;
            if (status == ERROR_MORE_DATA) {
                buffer.resize(buffer.size() * 2);
                continue;
            }
            if (status != ERROR_SUCCESS) {
                names.clear();
                return result(status);
            }
            names.emplace_back(buffer.data(), length);
            ++index;
        }
    }

    KeyHandle fKey;
    const RegAccess fAccess;
};

} // namespace

RegResult Win32RegistryStore::openKey(RegRoot root, const std::wstring &path, RegAccess access,
                                      std::unique_ptr<RegistryKey> &key)
{
    std::wstring normal;
    if (!normalisePath(path, normal))
        return RegResult::InvalidParameter;
    KeyHandle opened;
    const LSTATUS status = RegOpenKeyExW(rootHandle(root), normal.c_str(), 0, samOf(access), opened.receive());
    if (status != ERROR_SUCCESS)
        return result(status);
    key = std::make_unique<Win32RegistryKey>(std::move(opened), access);
    return RegResult::Success;
}

RegResult Win32RegistryStore::createKey(RegRoot root, const std::wstring &path, RegAccess access,
                                        std::unique_ptr<RegistryKey> &key)
{
    std::wstring normal;
    if (!normalisePath(path, normal))
        return RegResult::InvalidParameter;
    KeyHandle created;
    const LSTATUS status = RegCreateKeyExW(rootHandle(root), normal.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                           samOf(access), nullptr, created.receive(), nullptr);
    if (status != ERROR_SUCCESS)
        return result(status);
    key = std::make_unique<Win32RegistryKey>(std::move(created), access);
    return RegResult::Success;
}

RegistryStore &platformRegistry()
{
    static Win32RegistryStore store;
    return store;
}

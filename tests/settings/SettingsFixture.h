#pragma once
// Each settings test gets registry hives of its own in a fresh folder, and
// reaches the stored values directly through the store to check what an
// accessor really wrote.
#include "settings/store/RegistryStore.h"
#include "tests/support/QStringPrinter.h"
#include "tests/support/RegistryBytes.h"
#include "tests/support/TempRegistry.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <gtest/gtest.h>

#include <cstring>
#include <optional>

inline Bytes doubleBytes(double d)
{
    std::uint64_t bits;
    static_assert(sizeof bits == sizeof d);
    std::memcpy(&bits, &d, sizeof bits);
    Bytes bytes;
    for (int i = 0; i < 8; ++i)
        bytes.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
    return bytes;
}

inline std::wstring wide(const QString &text)
{
    std::wstring units;
    for (QChar c : text)
        units.push_back(static_cast<wchar_t>(c.unicode()));
    return units;
}

inline Bytes textBytes(const QString &text)
{
    return textBytes(wide(text));
}

class SettingsFixture : public ::testing::Test
{
protected:
    QString hiveFile(RegRoot root) const
    {
        return fRegistry.filePath(root == RegRoot::LocalMachine ? "HKEY_LOCAL_MACHINE.reg" : "HKEY_CURRENT_USER.reg");
    }

    QByteArray hiveBytes(RegRoot root) const { return fileBytes(hiveFile(root)); }

    // Takes write access to the machine hive away: no writer can open a
    // folder standing in the lock file's place, not even root.
    void denyMachineAccess() const
    {
        const QString lock = hiveFile(RegRoot::LocalMachine) + ".lock";
        QFile::remove(lock);
        ASSERT_TRUE(QDir().mkpath(lock));
    }

    // Stores a value of any type below the product key, as another program would.
    void putRaw(RegRoot root, const QString &section, const QString &name, RegType type, const Bytes &data)
    {
        std::unique_ptr<RegistryKey> key;
        ASSERT_EQ(platformRegistry().createKey(root, path(section), RegAccess::All, key), RegResult::Success);
        ASSERT_EQ(key->setValue(wide(name), type, data.data(), std::uint32_t(data.size())), RegResult::Success);
    }

    // The stored value, or nullopt when the key or the value is missing.
    std::optional<RegValue> raw(RegRoot root, const QString &section, const QString &name)
    {
        std::unique_ptr<RegistryKey> key;
        RegValue value;
        if (platformRegistry().openKey(root, path(section), RegAccess::Read, key) != RegResult::Success
            || key->readValue(wide(name), value) != RegResult::Success)
            return std::nullopt;
        return value;
    }

    // The stored value; a missing one fails the test and reads as an empty value.
    RegValue stored(RegRoot root, const QString &section, const QString &name)
    {
        const std::optional<RegValue> value = raw(root, section, name);
        if (!value)
            ADD_FAILURE() << "no value " << name.toStdString() << " in " << section.toStdString();
        return value.value_or(RegValue{});
    }

    bool keyExists(RegRoot root, const QString &section)
    {
        std::unique_ptr<RegistryKey> key;
        return platformRegistry().openKey(root, path(section), RegAccess::Read, key) == RegResult::Success;
    }

    std::vector<std::wstring> subKeys(RegRoot root, const QString &section)
    {
        std::unique_ptr<RegistryKey> key;
        std::vector<std::wstring> names;
        if (platformRegistry().openKey(root, path(section), RegAccess::Read, key) == RegResult::Success)
            key->enumSubKeys(names);
        return names;
    }

private:
    static std::wstring path(const QString &section)
    {
        return wide(section.isEmpty() ? QStringLiteral("SOFTWARE\\Tollvane\\Orvo")
                                      : QStringLiteral("SOFTWARE\\Tollvane\\Orvo\\") + section);
    }

    TempRegistry fRegistry;
};

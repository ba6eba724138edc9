#pragma once
// Each settings test gets registry hives of its own in a fresh folder, and
// reaches the stored values directly through the store to check what an
// accessor really wrote.
#include "settings/store/RegistryStore.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

using Bytes = std::vector<std::uint8_t>;

inline Bytes textBytes(const QString &text)
{
    Bytes bytes;
    for (QChar c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c.unicode() & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c.unicode() >> 8));
    }
    bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

inline Bytes dwordBytes(std::int32_t n)
{
    const auto u = static_cast<std::uint32_t>(n);
    return {std::uint8_t(u), std::uint8_t(u >> 8), std::uint8_t(u >> 16), std::uint8_t(u >> 24)};
}

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

class SettingsFixture : public ::testing::Test
{
protected:
    void SetUp() override { qputenv("PORDANE_REGISTRY_DIR", fRegistry.path().toLocal8Bit()); }
    void TearDown() override { qunsetenv("PORDANE_REGISTRY_DIR"); }

    QString hiveFile(RegRoot root) const
    {
        return fRegistry.filePath(root == RegRoot::LocalMachine ? "HKEY_LOCAL_MACHINE.reg" : "HKEY_CURRENT_USER.reg");
    }

    QByteArray hiveBytes(RegRoot root) const
    {
        QFile file(hiveFile(root));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

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

    QTemporaryDir fRegistry;
};

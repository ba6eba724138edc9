// A hive written here imports into Wine's registry with the registry editor
// (regedit /S), and reg.exe's export of it reads back here to the same keys,
// values and types: the hive files and the registry editor share one format.
#include "settings/store/RegistryStore.h"
#include "tests/support/EnvGuard.h"
#include "tests/support/RegistryBytes.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

namespace {

// A value's type and bytes.
using Value = std::pair<RegType, Bytes>;

// Each key below the test's own key, and each of its values by name.
using Tree = std::map<std::wstring, std::map<std::wstring, Value>>;

const std::wstring kBase = L"SOFTWARE\\PordaneRoundTrip";

// Runs a Wine program in the test's own prefix; its exit code.
int runWine(const std::string &arguments)
{
    const std::string command = std::string("/bin/sh '") + WINE_RUN + "' '" + WINE64 + "' '" + WINE_PREFIX + "' "
        + arguments + " >/dev/null 2>&1";
    return std::system(command.c_str());
}

// The Windows form of a file's path: Wine shows the root folder as drive Z.
std::string windowsPath(const std::string &path)
{
    std::string result = "Z:" + path;
    for (char &c : result)
        if (c == '/')
            c = '\\';
    return result;
}

void write(const Tree &tree)
{
    for (const auto &[path, values] : tree) {
        std::unique_ptr<RegistryKey> key;
        ASSERT_EQ(platformRegistry().createKey(RegRoot::CurrentUser, kBase + path, RegAccess::All, key),
                  RegResult::Success);
        for (const auto &[name, v] : values)
            ASSERT_EQ(key->setValue(name, v.first, v.second.data(), std::uint32_t(v.second.size())), RegResult::Success)
                << narrow(name);
    }
}

void collect(const std::wstring &path, Tree &tree)
{
    std::unique_ptr<RegistryKey> key;
    ASSERT_EQ(platformRegistry().openKey(RegRoot::CurrentUser, kBase + path, RegAccess::Read, key), RegResult::Success)
        << narrow(path);
    auto &values = tree[path];
    std::vector<std::wstring> names;
    ASSERT_EQ(key->enumValues(names), RegResult::Success);
    for (const std::wstring &name : names) {
        RegValue v;
        ASSERT_EQ(key->readValue(name, v), RegResult::Success) << narrow(name);
        values[name] = {v.type, v.data};
    }
    ASSERT_EQ(key->enumSubKeys(names), RegResult::Success);
    for (const std::wstring &name : names)
        collect(path + L"\\" + name, tree);
}

class RegistryEditorRoundTrip : public ::testing::Test
{
protected:
    // The prefix's Wine server goes whatever the test's outcome.
    void TearDown() override
    {
        const std::string command =
            std::string("WINEPREFIX='") + WINE_PREFIX + "' '" + WINESERVER + "' -k >/dev/null 2>&1";
        (void)std::system(command.c_str());
    }
};

TEST_F(RegistryEditorRoundTrip, AHiveSurvivesImportAndExportByTheRegistryEditor)
{
    const Tree written = {
        {L"", {}},
        {L"\\Caf\u00e9 \u00d1and\u00fa",
         {
             {L"", Value(RegType::Sz, textBytes(L"the unnamed value"))},
             {L"Gr\u00f6\u00dfe", Value(RegType::Sz, textBytes(L"Cr\u00e8me br\u00fbl\u00e9e \u20ac5 \"q\" C:\\x"))},
             {L"Empty", Value(RegType::Sz, textBytes(L""))},
             {L"Path", Value(RegType::ExpandSz, textBytes(L"%SystemRoot%\\system32"))},
             {L"TwoLines", Value(RegType::Sz, textBytes(L"one\r\ntwo"))},
             {L"Blob", Value(RegType::Binary, Bytes{0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F})},
             {L"LongBlob", Value(RegType::Binary, Bytes(300, 0xAB))},
             {L"Colour", Value(RegType::Dword, Bytes{0xFF, 0x00, 0x00, 0x80})},
             {L"List", Value(RegType::MultiSz, Bytes{0x61, 0, 0, 0, 0x62, 0, 0, 0, 0, 0})},
         }},
        {L"\\Caf\u00e9 \u00d1and\u00fa\\No values", {}},
        {L"\\Database\\List\\MAIN", {{L"LocalPath", Value(RegType::Sz, textBytes(L"C:\\Data\\Main.fdb"))}}},
        {L"\\Database", {}},
        {L"\\Database\\List", {}},
    };

    TempFolder written_hives;
    {
        EnvGuard registry("PORDANE_REGISTRY_DIR", written_hives.path());
        write(written);
    }

    TempFolder exported_hives;
    const std::string hive = "HKEY_CURRENT_USER.reg";
    ASSERT_EQ(runWine("regedit /S '" + windowsPath(written_hives.file(hive)) + "'"), 0);
    ASSERT_EQ(runWine("reg export 'HKEY_CURRENT_USER\\" + narrow(kBase) + "' '" + windowsPath(exported_hives.file(hive))
                      + "' /y"),
              0);

    Tree read;
    {
        EnvGuard registry("PORDANE_REGISTRY_DIR", exported_hives.path());
        collect(L"", read);
    }
    EXPECT_EQ(read, written);
}

} // namespace

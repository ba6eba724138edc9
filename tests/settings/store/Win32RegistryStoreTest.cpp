// What the Win32 store adds to the registry calls it passes through: the
// 32-bit view of the machine key, exact text bytes, and no handle left open.
#include "settings/store/RegistryStore.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <random>

namespace {

using Bytes = std::vector<std::uint8_t>;

const std::wstring kParent = L"SOFTWARE\\PordaneWin32Store";

class Win32RegistryStoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::random_device random;
        fName = std::to_wstring(random());
        path = kParent + L"\\" + fName;
    }

    void TearDown() override
    {
        for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
            HKEY parent = nullptr;
            if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kParent.c_str(), 0, KEY_ALL_ACCESS | view, &parent)
                == ERROR_SUCCESS) {
                RegDeleteTreeW(parent, fName.c_str());
                RegCloseKey(parent);
            }
        }
        HKEY parent = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kParent.c_str(), 0, KEY_ALL_ACCESS, &parent) == ERROR_SUCCESS) {
            RegDeleteTreeW(parent, fName.c_str());
            RegCloseKey(parent);
        }
    }

    // Whether the machine key exists in the given view, asked of the registry directly.
    static bool existsInView(const std::wstring &key, REGSAM view)
    {
        HKEY opened = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | view, &opened) != ERROR_SUCCESS)
            return false;
        RegCloseKey(opened);
        return true;
    }

    static void createInView(const std::wstring &key, REGSAM view)
    {
        HKEY created = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr,
                                  &created, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(created);
    }

    // Where the next handle lands. Closed handles' slots are taken again, so
    // leaked ones push new handles ever further (Wine does not count handles).
    static std::uintptr_t nextHandleSlot()
    {
        const HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        CloseHandle(event);
        return reinterpret_cast<std::uintptr_t>(event);
    }

    std::wstring path;

private:
    std::wstring fName;
};

TEST_F(Win32RegistryStoreTest, TheMachineKeyIsTheOneOfThe32BitView)
{
    std::unique_ptr<RegistryKey> key;
    ASSERT_EQ(platformRegistry().createKey(RegRoot::LocalMachine, path + L"\\Sub", RegAccess::All, key),
              RegResult::Success);
    EXPECT_TRUE(existsInView(path + L"\\Sub", KEY_WOW64_32KEY));
    EXPECT_FALSE(existsInView(path, KEY_WOW64_64KEY));

    createInView(path + L"\\Sub", KEY_WOW64_64KEY);
    std::unique_ptr<RegistryKey> root;
    ASSERT_EQ(platformRegistry().openKey(RegRoot::LocalMachine, L"", RegAccess::All, root), RegResult::Success);
    ASSERT_EQ(root->deleteTree(path + L"\\Sub"), RegResult::Success)
        << "a tree deleted from the root key is found in the same view";
    EXPECT_FALSE(existsInView(path + L"\\Sub", KEY_WOW64_32KEY));
    EXPECT_TRUE(existsInView(path + L"\\Sub", KEY_WOW64_64KEY)) << "the other view keeps its key";
}

TEST_F(Win32RegistryStoreTest, TextIsStoredWithExactlyTheBytesGiven)
{
    // The bytes after the given size are NULs: the registry would count one
    // of them as the text's missing end.
    const Bytes withTrailingNuls = {0x41, 0x00, 0x00, 0x00, 0x00, 0x00};
    struct Case
    {
        const wchar_t *name;
        RegType type;
        std::uint32_t size;
    };
    const Case cases[] = {
        {L"Sz", RegType::Sz, 2},      {L"ExpandSz", RegType::ExpandSz, 2}, {L"MultiSz", RegType::MultiSz, 2},
        {L"OddSize", RegType::Sz, 1}, {L"Empty", RegType::Sz, 0},          {L"WithEnd", RegType::Sz, 4},
    };
    std::unique_ptr<RegistryKey> key;
    ASSERT_EQ(platformRegistry().createKey(RegRoot::CurrentUser, path, RegAccess::All, key), RegResult::Success);
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.name, c.name + wcslen(c.name)));
        ASSERT_EQ(key->setValue(c.name, c.type, withTrailingNuls.data(), c.size), RegResult::Success);
        RegValue value;
        ASSERT_EQ(key->readValue(c.name, value), RegResult::Success);
        EXPECT_EQ(value.data, Bytes(withTrailingNuls.begin(), withTrailingNuls.begin() + c.size));
    }
}

TEST_F(Win32RegistryStoreTest, NoCallLeavesAHandleOpen)
{
    RegistryStore &store = platformRegistry();
    const auto exercise = [&] {
        std::unique_ptr<RegistryKey> key;
        ASSERT_EQ(store.createKey(RegRoot::LocalMachine, path + L"\\A\\B", RegAccess::All, key), RegResult::Success);
        const Bytes data = {1, 2, 3, 4};
        key->setValue(L"V", RegType::Dword, data.data(), 4);
        std::vector<std::wstring> names;
        key->enumValues(names);
        std::unique_ptr<RegistryKey> top;
        ASSERT_EQ(store.openKey(RegRoot::LocalMachine, path, RegAccess::All, top), RegResult::Success);
        top->enumSubKeys(names);
        EXPECT_EQ(top->deleteTree(L"Missing\\B"), RegResult::NotFound);
        EXPECT_EQ(top->deleteTree(L"A\\B"), RegResult::Success);
        EXPECT_EQ(key->setValue(L"V", RegType::Dword, data.data(), 4), RegResult::KeyDeleted);
        std::unique_ptr<RegistryKey> missing;
        EXPECT_EQ(store.openKey(RegRoot::LocalMachine, path + L"\\A\\B", RegAccess::Read, missing),
                  RegResult::NotFound);
        EXPECT_EQ(store.openKey(RegRoot::LocalMachine, path + L"\\\\A", RegAccess::Read, missing),
                  RegResult::InvalidParameter);
    };
    exercise(); // the first round may open what the registry keeps for good
    const std::uintptr_t before = nextHandleSlot();
    const int rounds = 20;
    for (int i = 0; i < rounds; ++i)
        exercise();
    const std::uintptr_t handleStep = 4; // handle values are multiples of 4
    EXPECT_LT(nextHandleSlot(), before + rounds * handleStep) << "a handle left open in each round";
}

} // namespace

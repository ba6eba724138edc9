// The behaviour every registry store shares, written against the interface
// only: the same suite runs on hive files here and on the Win32 registry.
#include "settings/store/RegistryStore.h"
#include "tests/settings/store/StoreSandbox.h"
#include "tests/support/RegistryBytes.h"

#include <gtest/gtest.h>

#include <random>

namespace {

class StoreConformance : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fSandbox = openStoreSandbox();
        const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::random_device random;
        const std::string name = std::string(info->name()) + "-" + std::to_string(random());
        fTestKey = std::wstring(name.begin(), name.end());
        base = L"SOFTWARE\\PordaneConformance\\" + fTestKey;
    }

    void TearDown() override
    {
        for (RegRoot root : {RegRoot::CurrentUser, RegRoot::LocalMachine}) {
            std::unique_ptr<RegistryKey> parent;
            if (store().openKey(root, L"SOFTWARE\\PordaneConformance", RegAccess::All, parent) == RegResult::Success)
                parent->deleteTree(fTestKey);
        }
        fSandbox.reset();
    }

    RegistryStore &store() { return platformRegistry(); }

    std::unique_ptr<RegistryKey> create(const std::wstring &sub, RegAccess access = RegAccess::All,
                                        RegRoot root = RegRoot::CurrentUser)
    {
        std::unique_ptr<RegistryKey> key;
        const RegResult r = store().createKey(root, sub.empty() ? base : base + L"\\" + sub, access, key);
        EXPECT_EQ(r, RegResult::Success) << narrow(sub);
        return key;
    }

    RegResult open(const std::wstring &sub, RegAccess access = RegAccess::Read, RegRoot root = RegRoot::CurrentUser)
    {
        std::unique_ptr<RegistryKey> key;
        return store().openKey(root, sub.empty() ? base : base + L"\\" + sub, access, key);
    }

    static std::vector<std::wstring> subKeys(RegistryKey &key)
    {
        std::vector<std::wstring> names;
        EXPECT_EQ(key.enumSubKeys(names), RegResult::Success);
        return names;
    }

    static std::vector<std::wstring> valueNames(RegistryKey &key)
    {
        std::vector<std::wstring> names;
        EXPECT_EQ(key.enumValues(names), RegResult::Success);
        return names;
    }

    const StoreSandbox &sandbox() const { return *fSandbox; }

    std::wstring base;

private:
    std::unique_ptr<StoreSandbox> fSandbox;
    std::wstring fTestKey;
};

TEST_F(StoreConformance, OpeningWithoutCreateFindsOnlyExistingKeys)
{
    EXPECT_EQ(open(L"A\\B"), RegResult::NotFound);
    EXPECT_EQ(open(L"A\\B", RegAccess::All), RegResult::NotFound);
    EXPECT_EQ(open(L"A\\B"), RegResult::NotFound) << "a failed open must not create the key";

    create(L"A\\B");
    EXPECT_EQ(open(L"A"), RegResult::Success) << "creating a path creates every key on it";
    EXPECT_EQ(open(L"A\\B"), RegResult::Success);
    EXPECT_EQ(open(L"A\\B", RegAccess::All), RegResult::Success);
    EXPECT_EQ(open(L"A\\B\\"), RegResult::Success) << "one trailing backslash is ignored";
    EXPECT_EQ(open(L"A\\B\\C"), RegResult::NotFound);
}

TEST_F(StoreConformance, CreatingAnExistingKeyKeepsItsContent)
{
    create(L"K")->setValue(L"V", RegType::Dword, dwordBytes(7).data(), 4);
    auto again = create(L"K");
    RegValue value;
    ASSERT_EQ(again->readValue(L"V", value), RegResult::Success);
    EXPECT_EQ(value.data, dwordBytes(7));
}

TEST_F(StoreConformance, EveryValueTypeKeepsItsTypeAndBytes)
{
    struct Case
    {
        const wchar_t *name;
        RegType type;
        Bytes data;
    };
    const Case cases[] = {
        {L"Text", RegType::Sz, textBytes(L"C:\\Data\\A.fdb \"quoted\"")},
        {L"EmptyText", RegType::Sz, textBytes(L"")},
        {L"NonAsciiText", RegType::Sz, textBytes(L"Caf\u00e9 \u20ac5 \u0421\u044b\u0440")},
        {L"TextWithLineBreak", RegType::Sz, textBytes(L"one\r\ntwo")},
        {L"TextWithoutEndingNul", RegType::Sz, {0x41, 0x00}},
        {L"Expandable", RegType::ExpandSz, textBytes(L"%SystemRoot%\\x")},
        {L"Integer", RegType::Dword, dwordBytes(0xFFFFFFFE)},
        {L"Binary", RegType::Binary, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F}},
        {L"EmptyBinary", RegType::Binary, {}},
        {L"LongBinary", RegType::Binary, Bytes(300, 0xAB)},
        {L"MultiText", RegType::MultiSz, {0x61, 0, 0, 0, 0x62, 0, 0, 0, 0, 0}},
        {L"Quad", RegType::Qword, {1, 2, 3, 4, 5, 6, 7, 8}},
        {L"NoType", RegType::None, {9}},
        {L"", RegType::Sz, textBytes(L"the unnamed value")},
    };
    auto key = create(L"Types");
    for (const Case &c : cases)
        ASSERT_EQ(key->setValue(c.name, c.type, c.data.data(), std::uint32_t(c.data.size())), RegResult::Success)
            << narrow(c.name);

    std::unique_ptr<RegistryKey> reader;
    ASSERT_EQ(store().openKey(RegRoot::CurrentUser, base + L"\\Types", RegAccess::Read, reader), RegResult::Success);
    for (const Case &c : cases) {
        SCOPED_TRACE(narrow(c.name));
        RegValue value;
        ASSERT_EQ(reader->readValue(c.name, value), RegResult::Success);
        EXPECT_EQ(value.type, c.type);
        EXPECT_EQ(value.data, c.data);
    }
}

TEST_F(StoreConformance, SettingAValueOfAnotherTypeReplacesTypeAndData)
{
    auto key = create(L"K");
    const Bytes first = textBytes(L"42");
    key->setValue(L"First", RegType::Sz, textBytes(L"x").data(), 4);
    key->setValue(L"Kelloffice", RegType::Sz, first.data(), std::uint32_t(first.size()));
    key->setValue(L"Last", RegType::Sz, textBytes(L"y").data(), 4);
    ASSERT_EQ(key->setValue(L"Kelloffice", RegType::Dword, dwordBytes(42).data(), 4), RegResult::Success);

    RegValue value;
    ASSERT_EQ(key->readValue(L"Kelloffice", value), RegResult::Success);
    EXPECT_EQ(value.type, RegType::Dword);
    EXPECT_EQ(value.data, dwordBytes(42));
    EXPECT_EQ(valueNames(*key), (std::vector<std::wstring>{L"First", L"Kelloffice", L"Last"}))
        << "a replaced value is not a second value and keeps its place";
}

TEST_F(StoreConformance, NamesIgnoreCaseAndKeepTheCaseTheyWereCreatedWith)
{
    auto key = create(L"MixedCase");
    EXPECT_EQ(open(L"mixedcase"), RegResult::Success);
    EXPECT_EQ(open(L"MIXEDCASE"), RegResult::Success);
    std::unique_ptr<RegistryKey> again;
    ASSERT_EQ(store().createKey(RegRoot::CurrentUser, base + L"\\MIXEDCASE", RegAccess::All, again),
              RegResult::Success);

    key->setValue(L"ServerPath", RegType::Sz, textBytes(L"old").data(), 8);
    ASSERT_EQ(again->setValue(L"SERVERPATH", RegType::Sz, textBytes(L"new").data(), 8), RegResult::Success);
    RegValue value;
    ASSERT_EQ(key->readValue(L"serverpath", value), RegResult::Success);
    EXPECT_EQ(value.data, textBytes(L"new"));

    auto parent = create(L"");
    EXPECT_EQ(subKeys(*parent), std::vector<std::wstring>{L"MixedCase"});
    EXPECT_EQ(valueNames(*key), std::vector<std::wstring>{L"ServerPath"});
}

TEST_F(StoreConformance, SubkeysEnumerateAlphabeticallyIgnoringCaseValuesInCreationOrder)
{
    for (const wchar_t *name : {L"b", L"A", L"c", L"B2", L"a1"})
        create(std::wstring(L"Order\\") + name);
    auto key = create(L"Order");
    EXPECT_EQ(subKeys(*key), (std::vector<std::wstring>{L"A", L"a1", L"b", L"B2", L"c"}));

    for (const wchar_t *name : {L"z", L"a", L"M", L""})
        key->setValue(name, RegType::Dword, dwordBytes(1).data(), 4);
    if (sandbox().valuesEnumerateInCreationOrder())
        EXPECT_EQ(valueNames(*key), (std::vector<std::wstring>{L"z", L"a", L"M", L""}));
    else
        EXPECT_EQ(valueNames(*key), (std::vector<std::wstring>{L"", L"a", L"M", L"z"}));

    auto empty = create(L"Order\\c");
    EXPECT_TRUE(subKeys(*empty).empty());
    EXPECT_TRUE(valueNames(*empty).empty());
}

TEST_F(StoreConformance, MalformedPathsAndOverlongNamesAreRefusedWithoutChangingAnything)
{
    const std::wstring longestKeyName(255, L'k');
    const std::wstring longestValueName(16383, L'v');
    create(L"K");
    std::unique_ptr<RegistryKey> longest;
    ASSERT_EQ(store().createKey(RegRoot::CurrentUser, base + L"\\" + longestKeyName, RegAccess::All, longest),
              RegResult::Success);

    for (const std::wstring &path :
         {base + L"\\A\\\\B", L"\\" + base + L"\\A", base + L"\\A\\\\", base + L"\\" + longestKeyName + L"k"}) {
        std::unique_ptr<RegistryKey> bad;
        EXPECT_EQ(store().createKey(RegRoot::CurrentUser, path, RegAccess::All, bad), RegResult::InvalidParameter)
            << narrow(path.substr(0, 80));
        EXPECT_EQ(store().openKey(RegRoot::CurrentUser, path, RegAccess::Read, bad), RegResult::InvalidParameter);
    }
    EXPECT_EQ(open(L"A"), RegResult::NotFound) << "a refused path creates none of its keys";

    auto top = create(L"");
    for (const std::wstring &sub : {std::wstring(), std::wstring(L"\\"), std::wstring(L"K\\\\X")})
        EXPECT_EQ(top->deleteTree(sub), RegResult::InvalidParameter) << narrow(sub);
    EXPECT_EQ(open(L"K"), RegResult::Success) << "an empty subkey name deletes nothing";

    const Bytes one = dwordBytes(1);
    EXPECT_EQ(top->setValue(longestValueName, RegType::Dword, one.data(), 4), RegResult::Success);
    EXPECT_EQ(top->setValue(longestValueName + L"v", RegType::Dword, one.data(), 4), RegResult::InvalidParameter);
    EXPECT_EQ(valueNames(*top), std::vector<std::wstring>{longestValueName});
}

TEST_F(StoreConformance, MissingValuesAreNotFound)
{
    auto key = create(L"K");
    RegValue value;
    EXPECT_EQ(key->readValue(L"Nothing", value), RegResult::NotFound);
    EXPECT_EQ(key->readValue(L"", value), RegResult::NotFound) << "no unnamed value until one is set";
    std::uint32_t size = 0;
    EXPECT_EQ(key->queryValue(L"Nothing", nullptr, nullptr, &size), RegResult::NotFound);
    EXPECT_EQ(key->deleteValue(L"Nothing"), RegResult::NotFound);
}

TEST_F(StoreConformance, DeletingAValueLeavesTheOthersInOrder)
{
    auto key = create(L"K");
    for (const wchar_t *name : {L"One", L"Two", L"Three"})
        key->setValue(name, RegType::Dword, dwordBytes(1).data(), 4);
    ASSERT_EQ(key->deleteValue(L"TWO"), RegResult::Success);
    EXPECT_EQ(valueNames(*key), (std::vector<std::wstring>{L"One", L"Three"}));
    RegValue value;
    EXPECT_EQ(key->readValue(L"Two", value), RegResult::NotFound);
}

TEST_F(StoreConformance, DeletingATreeRemovesEverythingBelowItAndNothingElse)
{
    create(L"A\\B\\C\\D")->setValue(L"Deep", RegType::Dword, dwordBytes(1).data(), 4);
    create(L"A\\B")->setValue(L"Kept", RegType::Dword, dwordBytes(2).data(), 4);
    create(L"A\\B\\C2");
    create(L"A\\BC");

    auto b = create(L"A\\B");
    ASSERT_EQ(b->deleteTree(L"c"), RegResult::Success);
    EXPECT_EQ(open(L"A\\B\\C"), RegResult::NotFound);
    EXPECT_EQ(open(L"A\\B\\C\\D"), RegResult::NotFound);
    EXPECT_EQ(subKeys(*b), std::vector<std::wstring>{L"C2"});
    RegValue value;
    EXPECT_EQ(b->readValue(L"Kept", value), RegResult::Success);

    auto top = create(L"");
    ASSERT_EQ(top->deleteTree(L"A\\B"), RegResult::Success) << "a relative path names a deeper key";
    EXPECT_EQ(open(L"A\\B"), RegResult::NotFound);
    EXPECT_EQ(open(L"A\\BC"), RegResult::Success);
    EXPECT_EQ(top->deleteTree(L"A\\B"), RegResult::NotFound);
    EXPECT_EQ(top->deleteTree(L"Nothing"), RegResult::NotFound);
}

TEST_F(StoreConformance, AnOpenKeyWhoseKeyWasDeletedReportsIt)
{
    auto doomed = create(L"Doomed");
    doomed->setValue(L"V", RegType::Dword, dwordBytes(1).data(), 4);
    create(L"")->deleteTree(L"Doomed");
    RegValue value;
    EXPECT_EQ(doomed->readValue(L"V", value), RegResult::KeyDeleted);
    EXPECT_EQ(doomed->setValue(L"V", RegType::Dword, dwordBytes(2).data(), 4), RegResult::KeyDeleted);
    EXPECT_EQ(open(L"Doomed"), RegResult::NotFound) << "a write through a deleted key recreates nothing";
}

TEST_F(StoreConformance, AKeyOpenedForReadingRefusesChanges)
{
    create(L"K")->setValue(L"V", RegType::Dword, dwordBytes(5).data(), 4);
    create(L"K\\Sub");
    std::unique_ptr<RegistryKey> reader;
    ASSERT_EQ(store().openKey(RegRoot::CurrentUser, base + L"\\K", RegAccess::Read, reader), RegResult::Success);
    EXPECT_EQ(reader->setValue(L"V", RegType::Dword, dwordBytes(6).data(), 4), RegResult::AccessDenied);
    EXPECT_EQ(reader->deleteValue(L"V"), RegResult::AccessDenied);
    EXPECT_EQ(reader->deleteTree(L"Sub"), RegResult::AccessDenied);
    RegValue value;
    ASSERT_EQ(reader->readValue(L"V", value), RegResult::Success);
    EXPECT_EQ(value.data, dwordBytes(5));
    EXPECT_EQ(open(L"K\\Sub"), RegResult::Success);
}

TEST_F(StoreConformance, AShortBufferGetsMoreDataAndTheSizeNeeded)
{
    auto key = create(L"K");
    const Bytes text = textBytes(L"twelve chars");
    key->setValue(L"T", RegType::Sz, text.data(), std::uint32_t(text.size()));

    RegType type = RegType::None;
    std::uint32_t size = 0;
    ASSERT_EQ(key->queryValue(L"T", &type, nullptr, &size), RegResult::Success) << "no buffer: size only";
    EXPECT_EQ(size, text.size());
    EXPECT_EQ(type, RegType::Sz);

    std::uint8_t buffer[64] = {};
    size = 4;
    type = RegType::None;
    EXPECT_EQ(key->queryValue(L"T", &type, buffer, &size), RegResult::MoreData);
    EXPECT_EQ(size, text.size());
    EXPECT_EQ(type, RegType::Sz);

    size = sizeof buffer;
    ASSERT_EQ(key->queryValue(L"T", &type, buffer, &size), RegResult::Success);
    EXPECT_EQ(Bytes(buffer, buffer + size), text);
}

TEST_F(StoreConformance, TheTwoRootsAreSeparateTrees)
{
    create(L"K", RegAccess::All, RegRoot::CurrentUser)->setValue(L"Where", RegType::Sz, textBytes(L"user").data(), 10);
    EXPECT_EQ(open(L"K", RegAccess::Read, RegRoot::LocalMachine), RegResult::NotFound);
    create(L"K", RegAccess::All, RegRoot::LocalMachine)
        ->setValue(L"Where", RegType::Sz, textBytes(L"machine").data(), 16);

    std::unique_ptr<RegistryKey> user;
    ASSERT_EQ(store().openKey(RegRoot::CurrentUser, base + L"\\K", RegAccess::Read, user), RegResult::Success);
    RegValue value;
    ASSERT_EQ(user->readValue(L"Where", value), RegResult::Success);
    EXPECT_EQ(value.data, textBytes(L"user"));
}

} // namespace

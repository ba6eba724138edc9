// The hive file format: what is read, what is written, and what is refused.
#include "settings/store/HiveFormat.h"
#include "settings/store/HiveText.h"
#include "tests/support/EnvGuard.h"
#include "tests/support/FileBytes.h"
#include "tests/support/RegistryBytes.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <dirent.h>
#include <map>

namespace {

const std::string kHeader = "Windows Registry Editor Version 5.00\r\n\r\n";

std::unique_ptr<HiveKey> parseUtf8(const std::string &body)
{
    return parseHive(kHeader + body, RegRoot::CurrentUser, "test.reg");
}

const RegValue *valueAt(HiveKey &root, const std::wstring &path, const std::wstring &name)
{
    KeyPath parts;
    splitKeyPath(path, parts);
    HiveKey *key = findKey(root, parts);
    const HiveValue *value = key ? key->value(name) : nullptr;
    return value ? &value->value : nullptr;
}

std::wstring unitsOf(const std::string &utf8)
{
    std::wstring units;
    utf8ToUnits(utf8, 0, utf8.size(), units);
    return units;
}

std::wstring decodeWritten(const std::string &bytes)
{
    return utf16leToUnits(reinterpret_cast<const std::uint8_t *>(bytes.data()) + 2, bytes.size() - 2);
}

TEST(HiveFormat, ReadsEveryValueForm)
{
    struct Case
    {
        const char *line;
        RegType type;
        Bytes data;
    };
    const Case cases[] = {
        {R"("V"="C:\\Data\\A.fdb")", RegType::Sz, textBytes(L"C:\\Data\\A.fdb")},
        {R"("V"="say \"hi\"")", RegType::Sz, textBytes(L"say \"hi\"")},
        {R"("V"="")", RegType::Sz, textBytes(L"")},
        {"\"V\"=\"caf\xC3\xA9 \xE2\x82\xAC\"", RegType::Sz, textBytes(L"caf\u00e9 \u20ac")},
        {R"("V"="one\r\ntwo")", RegType::Sz, textBytes(L"one\r\ntwo")},
        {R"("V"=dword:0000002a)", RegType::Dword, {0x2a, 0, 0, 0}},
        {R"("V"=dword:FFFFFFFE)", RegType::Dword, {0xfe, 0xff, 0xff, 0xff}},
        {R"("V"=dword:7)", RegType::Dword, {7, 0, 0, 0}},
        {R"("V"=hex:00,01,ff)", RegType::Binary, {0, 1, 0xff}},
        {R"("V"=hex:)", RegType::Binary, {}},
        {R"("V"=hex(2):25,00,41,00,00,00)", RegType::ExpandSz, {0x25, 0, 0x41, 0, 0, 0}},
        {R"("V"=hex(7):61,00,00,00,00,00)", RegType::MultiSz, {0x61, 0, 0, 0, 0, 0}},
        {R"("V"=hex(b):01,00,00,00,00,00,00,00)", RegType::Qword, {1, 0, 0, 0, 0, 0, 0, 0}},
        {R"("V"=hex(0):)", RegType::None, {}},
        {R"("V"=hex(1):41,00,0d,00,0a,00,00,00)", RegType::Sz, {0x41, 0, 0x0d, 0, 0x0a, 0, 0, 0}},
        {R"("V"=HEX(4):01,02)", RegType::Dword, {1, 2}},
        {"\"V\"=hex:01,02,\\\r\n  03,04,\\\r\n  05", RegType::Binary, {1, 2, 3, 4, 5}},
        {R"("V" = dword:00000001)", RegType::Dword, {1, 0, 0, 0}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        auto hive = parseUtf8("[HKEY_CURRENT_USER\\K]\r\n" + std::string(c.line) + "\r\n");
        const RegValue *value = valueAt(*hive, L"K", L"V");
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->type, c.type);
        EXPECT_EQ(value->data, c.data);
    }
}

TEST(HiveFormat, ReadsKeysCommentsAndTheUnnamedValue)
{
    auto hive = parseUtf8("; exported for the tests\n"
                          "[HKEY_CURRENT_USER\\SOFTWARE\\Tollvane\\Orvo\\Database\\List\\MAIN]\n"
                          "   ; indented comment\n"
                          "@=\"unnamed\"\n"
                          "\n"
                          "[hkey_current_user\\software\\TOLLVANE]\n"
                          "\"Named\"=dword:00000001\n"
                          "[HKEY_CURRENT_USER]\n"
                          "\"AtRoot\"=dword:00000002\n");
    ASSERT_NE(valueAt(*hive, L"SOFTWARE\\Tollvane\\Orvo\\Database\\List\\MAIN", L""), nullptr)
        << "parents missing from the file are made on the way";
    ASSERT_NE(valueAt(*hive, L"Software\\Tollvane", L"named"), nullptr) << "a key named twice is one key";
    EXPECT_EQ(hive->child(L"SOFTWARE")->name, L"SOFTWARE") << "the first spelling is kept";
    EXPECT_NE(valueAt(*hive, L"", L"AtRoot"), nullptr);
}

TEST(HiveFormat, ReadsUtf8WithAByteOrderMarkAndUtf16le)
{
    const std::string body = "[HKEY_CURRENT_USER\\K]\r\n\"V\"=\"\xE2\x82\xAC\"\r\n";
    auto withBom = parseHive("\xEF\xBB\xBF" + kHeader + body, RegRoot::CurrentUser, "bom.reg");
    EXPECT_EQ(valueAt(*withBom, L"K", L"V")->data, textBytes(L"\u20ac"));

    const Bytes utf16 = unitsToUtf16le(unitsOf(kHeader + body));
    auto fromUtf16 = parseHive("\xFF\xFE" + std::string(utf16.begin(), utf16.end()), RegRoot::CurrentUser, "u16.reg");
    EXPECT_EQ(valueAt(*fromUtf16, L"K", L"V")->data, textBytes(L"\u20ac"));
}

TEST(HiveFormat, AMachineKeyExportedBelowWow6432NodeReadsAsTheKeyTheProgramOpens)
{
    // What the 64-bit registry editor writes for the 32-bit view's key, and only that key.
    const Bytes utf16 =
        unitsToUtf16le(unitsOf(kHeader
                               + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Tollvane\\Orvo\\Database]\r\n"
                                 "\"DefaultDatabase\"=\"MAIN\"\r\n\r\n"
                                 "[HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Tollvane\\Orvo]\r\n"
                                 "\"Kelloffice\"=dword:00000001\r\n"));
    auto machine = parseHive("\xFF\xFE" + std::string(utf16.begin(), utf16.end()), RegRoot::LocalMachine, "m.reg");
    ASSERT_NE(valueAt(*machine, L"SOFTWARE\\Tollvane\\Orvo\\Database", L"DefaultDatabase"), nullptr);
    ASSERT_NE(valueAt(*machine, L"SOFTWARE\\Tollvane\\Orvo", L"Kelloffice"), nullptr);
    EXPECT_EQ(machine->child(L"SOFTWARE")->child(L"WOW6432Node"), nullptr);
    EXPECT_EQ(decodeWritten(writeHive(*machine, RegRoot::LocalMachine)).find(L"WOW6432Node"), std::wstring::npos)
        << "written back as the program sees it";

    auto user = parseUtf8("[HKEY_CURRENT_USER\\SOFTWARE\\WOW6432Node\\K]\r\n\"V\"=dword:00000001\r\n");
    EXPECT_NE(valueAt(*user, L"SOFTWARE\\WOW6432Node\\K", L"V"), nullptr) << "the user hive has no such view";
}

TEST(HiveFormat, WritesAsTheRegistryEditorDoes)
{
    HiveKey root(L"HKEY_CURRENT_USER");
    HiveKey &orvo = root.childOrNew(L"SOFTWARE").childOrNew(L"Tollvane").childOrNew(L"Orvo");
    orvo.setValue(L"ProgramFolder", {RegType::Sz, textBytes(L"C:\\Orvo \"2023\"")});
    orvo.setValue(L"Kelloffice", {RegType::Dword, {0x2a, 0, 0, 0}});
    orvo.setValue(L"Width", {RegType::Binary, {0, 0, 0, 0, 0, 0, 0xf0, 0x3f}});
    orvo.setValue(L"Home", {RegType::ExpandSz, textBytes(L"%H%")});
    orvo.setValue(L"Note", {RegType::Sz, textBytes(L"a\nb")});
    orvo.setValue(L"", {RegType::Sz, textBytes(L"")});
    orvo.setValue(L"Long", {RegType::Binary, Bytes(50, 0x11)});
    orvo.childOrNew(L"Database");

    const std::string bytes = writeHive(root, RegRoot::CurrentUser);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE") << "UTF-16LE with a byte-order mark";
    const std::wstring expected =
        L"Windows Registry Editor Version 5.00\r\n"
        L"\r\n[HKEY_CURRENT_USER]\r\n"
        L"\r\n[HKEY_CURRENT_USER\\SOFTWARE]\r\n"
        L"\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Tollvane]\r\n"
        L"\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Tollvane\\Orvo]\r\n"
        L"\"ProgramFolder\"=\"C:\\\\Orvo \\\"2023\\\"\"\r\n"
        L"\"Kelloffice\"=dword:0000002a\r\n"
        L"\"Width\"=hex:00,00,00,00,00,00,f0,3f\r\n"
        L"\"Home\"=hex(2):25,00,48,00,25,00,00,00\r\n"
        L"\"Note\"=hex(1):61,00,0a,00,62,00,00,00\r\n"
        L"@=\"\"\r\n"
        L"\"Long\"=hex:11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,\\\r\n"
        L"  11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,\\\r\n"
        L"  11,11,11\r\n"
        L"\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Tollvane\\Orvo\\Database]\r\n"
        L"\r\n";
    EXPECT_EQ(unitsToUtf8(decodeWritten(bytes)), unitsToUtf8(expected));
}

TEST(HiveFormat, WhatIsWrittenReadsBackTheSame)
{
    HiveKey root(L"HKEY_LOCAL_MACHINE");
    HiveKey &odd = root.childOrNew(L"Key with ] and spaces ").childOrNew(L"\u00c9t\u00e9");
    odd.setValue(L"with \"quotes\" and \\", {RegType::Sz, textBytes(L"\\\"")});
    odd.setValue(L"TextWithNul", {RegType::Sz, textBytes(std::wstring(L"a\0b", 3))});
    odd.setValue(L"NoEndingNul", {RegType::Sz, {0x41, 0}});
    odd.setValue(L"OddLength", {RegType::Sz, {0x41}});
    odd.setValue(L"ShortDword", {RegType::Dword, {1, 2}});
    odd.setValue(L"Custom", {static_cast<RegType>(0x12345), {9}});
    odd.setValue(L"Surrogates", {RegType::Sz, textBytes(L"\xd83d\xde00")});
    root.childOrNew(L"b");
    root.childOrNew(L"A");

    const std::string first = writeHive(root, RegRoot::LocalMachine);
    auto again = parseHive(first, RegRoot::LocalMachine, "again.reg");
    EXPECT_EQ(writeHive(*again, RegRoot::LocalMachine), first);
    const RegValue *custom = valueAt(*again, L"Key with ] and spaces \\\u00e9T\u00c9", L"CUSTOM");
    ASSERT_NE(custom, nullptr);
    EXPECT_EQ(static_cast<std::uint32_t>(custom->type), 0x12345u);
    EXPECT_EQ(valueAt(*again, L"Key with ] and spaces \\\u00c9t\u00e9", L"OddLength")->data, Bytes{0x41});
}

// Every file of the folder "broken" with the line its error must name.
const std::map<std::string, int> kBrokenHives = {
    {"empty.reg", 1},
    {"no-header.reg", 1},
    {"regedit4.reg", 1},
    {"utf16-big-endian.reg", 1},
    {"utf16-without-bom.reg", 1},
    {"utf16-truncated.reg", 4},
    {"latin1.reg", 4},
    {"unclosed-quote.reg", 4},
    {"bad-escape.reg", 4},
    {"line-break-escape-in-name.reg", 4},
    {"bad-dword.reg", 4},
    {"bad-hex.reg", 4},
    {"hex-trailing-comma.reg", 4},
    {"truncated-continuation.reg", 4},
    {"value-before-key.reg", 3},
    {"foreign-root.reg", 3},
    {"key-deletion.reg", 3},
    {"value-deletion.reg", 4},
    {"unclosed-key.reg", 3},
    {"empty-key-name.reg", 3},
    {"duplicate-value.reg", 5},
    {"unknown-data.reg", 4},
    {"text-after-value.reg", 4},
    {"unquoted-name.reg", 4},
};

std::vector<std::string> filesIn(const std::string &folder)
{
    std::vector<std::string> names;
    if (DIR *dir = ::opendir(folder.c_str())) {
        while (const dirent *entry = ::readdir(dir))
            if (entry->d_name[0] != '.')
                names.push_back(entry->d_name);
        ::closedir(dir);
    }
    return names;
}

TEST(HiveFormat, ABrokenHiveFailsNamingFileAndLineAndIsNeverRewritten)
{
    const std::vector<std::string> files = filesIn(BROKEN_HIVES_DIR);
    ASSERT_EQ(files.size(), kBrokenHives.size()) << "each broken hive needs its expected line here";
    for (const std::string &name : files) {
        SCOPED_TRACE(name);
        const auto expected = kBrokenHives.find(name);
        ASSERT_NE(expected, kBrokenHives.end());

        TempFolder folder;
        EnvGuard registry("PORDANE_REGISTRY_DIR", folder.path());
        const std::string hive = folder.file("HKEY_CURRENT_USER.reg");
        const std::string original = readFileBytes(std::string(BROKEN_HIVES_DIR) + "/" + name);
        writeFileBytes(hive, original);

        std::unique_ptr<RegistryKey> key;
        for (int attempt = 0; attempt < 2; ++attempt) {
            try {
                if (attempt == 0)
                    platformRegistry().openKey(RegRoot::CurrentUser, L"SOFTWARE", RegAccess::Read, key);
                else
                    platformRegistry().createKey(RegRoot::CurrentUser, L"SOFTWARE\\New", RegAccess::All, key);
                ADD_FAILURE() << "no error for attempt " << attempt;
            } catch (const RegistryStoreError &e) {
                const std::string message = e.what();
                EXPECT_NE(message.find(hive), std::string::npos) << message;
                EXPECT_NE(message.find("line " + std::to_string(expected->second) + ":"), std::string::npos) << message;
            }
        }
        EXPECT_EQ(readFileBytes(hive), original) << "left byte for byte as it was";
        std::vector<std::string> left = filesIn(folder.path());
        std::sort(left.begin(), left.end());
        EXPECT_EQ(left.front(), "HKEY_CURRENT_USER.reg");
        EXPECT_LE(left.size(), 2u) << "nothing but the hive and its lock file";
    }
}

} // namespace

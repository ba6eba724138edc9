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

// A header line of the key at that depth below the root, each name `length` units long.
std::string deepKeyLine(const std::string &root, std::size_t depth, std::size_t length = 1)
{
    std::string line = "[" + root;
    for (std::size_t i = 0; i < depth; ++i)
        line += "\\" + std::string(length, static_cast<char>('a' + i % 26));
    return line + "]\r\n";
}

TEST(HiveFormat, KeysBeyondTheRegistrysLimitsAreRefusedNamingFileAndLine)
{
    struct Case
    {
        const char *what;
        RegRoot root;
        std::string keyLine; // the file's third line
        bool refused;
    };
    const std::string user = "HKEY_CURRENT_USER", machine = "HKEY_LOCAL_MACHINE";
    const Case cases[] = {
        {"512 keys deep", RegRoot::CurrentUser, deepKeyLine(user, 512), false},
        {"513 keys deep", RegRoot::CurrentUser, deepKeyLine(user, 513), true},
        {"200,000 keys deep", RegRoot::CurrentUser, deepKeyLine(user, 200000), true},
        {"a name of 255", RegRoot::CurrentUser, deepKeyLine(user, 3, 255), false},
        {"a name of 256", RegRoot::CurrentUser, deepKeyLine(user, 3, 256), true},
        {"below WOW6432Node, 512 keys deep in the 32-bit view", RegRoot::LocalMachine,
         deepKeyLine(machine + "\\SOFTWARE\\WOW6432Node", 511), false},
        {"below SOFTWARE, 513 keys deep", RegRoot::LocalMachine, deepKeyLine(machine + "\\SOFTWARE", 512), true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const std::string text = kHeader + c.keyLine + "\"V\"=dword:00000001\r\n";
        try {
            auto hive = parseHive(text, c.root, "limits.reg");
            EXPECT_FALSE(c.refused) << "read";
        } catch (const RegistryStoreError &e) {
            EXPECT_TRUE(c.refused) << e.what();
            EXPECT_EQ(std::string(e.what()).rfind("Registry hive limits.reg, line 3: ", 0), 0u) << e.what();
        }
    }
}

TEST(HiveFormat, AKeyPathFarDeeperThanAFileMayHoldIsFreedWithoutOverflowingTheStack)
{
    auto root = std::make_unique<HiveKey>(L"HKEY_CURRENT_USER");
    HiveKey *key = root.get();
    for (int i = 0; i < 200000; ++i)
        key = &key->childOrNew(L"k");
    key->setValue(L"V", {RegType::Dword, dwordBytes(1)});
    root.reset();
}

TEST(HiveFormat, ValuesAreFoundByNameIgnoringCaseInKeysOfAnySize)
{
    struct Case
    {
        const wchar_t *stored;
        const wchar_t *asked;
        bool same;
    };
    const Case cases[] = {
        {L"DebugLevel", L"DEBUGLEVEL", true},
        {L"\u00c9t\u00e9", L"\u00e9T\u00c8", false},
        {L"\u00c9t\u00e9", L"\u00e9T\u00c9", true},
        {L"\u0414\u043e\u043c", L"\u0434\u041e\u041c", true},
        {L"\u03a3", L"\u03c3", true},
        {L"\u00ff", L"\u0178", true},
        {L"\u00df", L"SS", false},
        {L"Value7", L"Value 7", false},
    };
    // Small keys are looked through, large ones indexed: both must agree.
    for (int others : {0, 3, 40, 5000}) {
        for (const Case &c : cases) {
            SCOPED_TRACE(narrow(c.stored) + " beside " + std::to_string(others) + " other values");
            HiveKey key;
            for (int i = 0; i < others; ++i)
                ASSERT_TRUE(key.addValue(L"Other" + std::to_wstring(i), {RegType::Dword, dwordBytes(i)}));
            ASSERT_TRUE(key.addValue(c.stored, {RegType::Sz, textBytes(L"stored")}));
            EXPECT_EQ(key.value(c.asked) != nullptr, c.same);
            EXPECT_EQ(key.addValue(c.asked, {RegType::Sz, textBytes(L"asked")}), !c.same);
            EXPECT_EQ(key.value(c.stored)->value.data, textBytes(L"stored")) << "a refused add changes nothing";
        }
    }
}

TEST(HiveFormat, RemovingValuesFromALargeKeyKeepsTheOthersFoundAndInOrder)
{
    HiveKey key;
    const int count = 3000;
    for (int i = 0; i < count; ++i)
        key.setValue(L"Value" + std::to_wstring(i), {RegType::Dword, dwordBytes(i)});
    key.setValue(L"VALUE1500", {RegType::Dword, dwordBytes(99999)});
    EXPECT_EQ(key.values[1500].value.data, dwordBytes(99999)) << "replaced where it stands";
    // Down past the size where the key is looked through one by one.
    for (int i = 0; i < count - 5; ++i)
        if (i % 600 != 0)
            ASSERT_TRUE(key.removeValue(L"value" + std::to_wstring(i))) << i;
    EXPECT_FALSE(key.removeValue(L"Value1"));
    std::vector<std::wstring> left;
    for (const HiveValue &v : key.values)
        left.push_back(v.name);
    const std::vector<std::wstring> expected = {L"Value0",    L"Value600",  L"Value1200", L"Value1800", L"Value2400",
                                                L"Value2995", L"Value2996", L"Value2997", L"Value2998", L"Value2999"};
    EXPECT_EQ(left, expected);
    for (const std::wstring &name : expected) {
        SCOPED_TRACE(narrow(name));
        ASSERT_NE(key.value(name), nullptr);
        EXPECT_EQ(key.value(name)->value.data, dwordBytes(std::stoul(name.substr(5))));
    }
}

TEST(HiveFormat, AValueTwiceInAKeyOfManyValuesIsRefusedAtItsLine)
{
    std::string body = "[HKEY_CURRENT_USER\\Wide]\r\n";
    for (int i = 0; i < 40000; ++i)
        body += "\"Value" + std::to_string(i) + "\"=dword:00000001\r\n";
    body += "[HKEY_CURRENT_USER\\Other]\r\n[HKEY_CURRENT_USER\\WIDE]\r\n\"VALUE20000\"=hex:01\r\n";
    try {
        parseUtf8(body);
        ADD_FAILURE() << "read";
    } catch (const RegistryStoreError &e) {
        EXPECT_NE(std::string(e.what()).find("line 40006: the value \"VALUE20000\" appears twice"), std::string::npos)
            << e.what();
    }
}

// Each key's path with its values, parents first, gathered without recursion.
using FlatHive = std::vector<std::pair<std::wstring, std::vector<std::pair<std::wstring, Bytes>>>>;

FlatHive flatten(const HiveKey &root)
{
    FlatHive flat;
    std::vector<std::pair<const HiveKey *, std::wstring>> pending = {{&root, root.name}};
    while (!pending.empty()) {
        auto [key, path] = pending.back();
        pending.pop_back();
        auto &values = flat.emplace_back(path, std::vector<std::pair<std::wstring, Bytes>>()).second;
        for (const HiveValue &v : key->values) {
            Bytes typed = dwordBytes(static_cast<std::uint32_t>(v.value.type));
            typed.insert(typed.end(), v.value.data.begin(), v.value.data.end());
            values.emplace_back(v.name, typed);
        }
        const auto children = key->children();
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            pending.emplace_back(*it, path + L"\\" + (*it)->name);
    }
    return flat;
}

std::string utf16File(const std::string &utf8)
{
    const Bytes units = unitsToUtf16le(unitsOf(utf8));
    return "\xFF\xFE" + std::string(units.begin(), units.end());
}

TEST(HiveFormat, EveryHiveThatReadsIsWrittenBackAsOneThatReadsTheSame)
{
    struct Case
    {
        const char *what;
        RegRoot root;
        std::string bytes;
    };
    std::string wide = "[HKEY_CURRENT_USER\\Wide]\r\n";
    for (int i = 0; i < 2000; ++i)
        wide += "\"V" + std::to_string(i) + "\"=\"" + std::to_string(i) + "\"\r\n[HKEY_CURRENT_USER\\Wide\\K"
            + std::to_string(i) + "]\r\n";
    const Case cases[] = {
        {"every value form", RegRoot::CurrentUser,
         kHeader
             + "[HKEY_CURRENT_USER\\K]\r\n@=\"unnamed\"\r\n\"T\"=\"say \\\"hi\\\" "
               "C:\\\\D\"\r\n\"L\"=\"one\\r\\ntwo\"\r\n"
               "\"D\"=dword:7\r\n\"B\"=hex:00,01,\\\r\n  ff\r\n\"E\"=hex:\r\n\"X\"=hex(2):25,00,00,00\r\n"
               "\"Q\"=hex(b):01,00,00,00,00,00,00,00\r\n\"C\"=hex(12345):09\r\n\"S\"=hex(4):01,02\r\n"
               "\"Z\"=hex(1):41,00\r\n\"N\"=hex(1):41,00,00,00,42,00,00,00\r\n"},
        {"keys named twice, comments, parents left out", RegRoot::CurrentUser,
         kHeader
             + "; comment\n[HKEY_CURRENT_USER\\SOFTWARE\\Tollvane\\Orvo\\Database\\List\\MAIN]\n  ; indented\n"
               "@=\"unnamed\"\n[hkey_current_user\\software\\TOLLVANE]\n\"Named\"=dword:00000001\n"
               "[HKEY_CURRENT_USER]\n\"AtRoot\"=dword:00000002\n[HKEY_CURRENT_USER\\SOFTWARE\\Tollvane]\n\"More\"="
               "\"\"\n"},
        {"a 64-bit export below WOW6432Node", RegRoot::LocalMachine,
         utf16File(kHeader
                   + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node]\r\n\"A\"=dword:1\r\n"
                     "[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Tollvane\\Orvo]\r\n\"Kelloffice\"=dword:1\r\n"
                     "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\WOW6432Node\\Tollvane]\r\n\"B\"=dword:1\r\n"
                     "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other]\r\n")},
        {"the user hive's own WOW6432Node", RegRoot::CurrentUser,
         kHeader
             + "[HKEY_CURRENT_USER\\SOFTWARE]\r\n\"V\"=dword:1\r\n[HKEY_CURRENT_USER\\SOFTWARE\\WOW6432Node]\r\n"
               "\"V\"=dword:2\r\n"},
        {"units holding the bytes of a line end", RegRoot::CurrentUser,
         utf16File(kHeader
                   + "[HKEY_CURRENT_USER\\\xC4\x8A\xE0\xA8\x80\xE0\xB4\x8A]\r\n"
                     "\"\xC4\x8A\xE0\xA8\x80\"=\"\xE0\xB4\x8A\xC4\x8A\"\r\n")},
        {"512 keys deep", RegRoot::CurrentUser, kHeader + deepKeyLine("HKEY_CURRENT_USER", 512) + "\"V\"=\"\"\r\n"},
        {"names of 255 units", RegRoot::LocalMachine,
         kHeader + deepKeyLine("HKEY_LOCAL_MACHINE", 4, 255) + "\"" + std::string(300, 'v') + "\"=dword:1\r\n"},
        {"2,000 values and 2,000 keys in one key", RegRoot::CurrentUser, kHeader + wide},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        auto hive = parseHive(c.bytes, c.root, "fixture.reg");
        const std::string written = writeHive(*hive, c.root);
        std::unique_ptr<HiveKey> again;
        ASSERT_NO_THROW(again = parseHive(written, c.root, "written.reg"));
        EXPECT_TRUE(flatten(*again) == flatten(*hive));
        EXPECT_EQ(writeHive(*again, c.root), written);
    }
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

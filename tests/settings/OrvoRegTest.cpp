// The registry settings accessors against real hive files.
#include "tests/settings/SettingsFixture.h"

#include "settings/uOrvoReg.h"
#include "util/Errors.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <functional>

namespace {

constexpr RegRoot LM = RegRoot::LocalMachine;
constexpr RegRoot CU = RegRoot::CurrentUser;

class OrvoReg : public SettingsFixture
{
};

// The error text of a call, or empty when it did not fail.
QString errorOf(const std::function<void()> &call)
{
    try {
        call();
    } catch (const EPosError &e) {
        return e.message();
    }
    return {};
}

TEST_F(OrvoReg, ReadingAMissingValueStoresItsDefault)
{
    TOrvoReg reg;
    ASSERT_EQ(reg.rootKey(), LM) << "a run with access to the machine-wide key uses it";

    EXPECT_EQ(reg.ReadInteger("Debug", "DebugLevel", 0), 0);
    EXPECT_EQ(stored(LM, "Debug", "DebugLevel").type, RegType::Dword);
    EXPECT_EQ(stored(LM, "Debug", "DebugLevel").data, dwordBytes(0));

    EXPECT_EQ(reg.ReadString("", "ProgramFolder", "C:\\Orvo", rmText), "C:\\Orvo");
    EXPECT_EQ(stored(LM, "", "ProgramFolder").data, textBytes("C:\\Orvo")) << "the empty section is the product key";
    EXPECT_FALSE(keyExists(LM, "ProgramFolder"));

    EXPECT_EQ(reg.readFloat("", "Rate"), 0.0);
    EXPECT_EQ(stored(LM, "", "Rate").type, RegType::Binary);
    EXPECT_EQ(stored(LM, "", "Rate").data, Bytes(8, 0));

    EXPECT_EQ(reg.ReadString("Database\\List\\", "ServerPath", "", rmText), "");
    EXPECT_TRUE(raw(LM, "Database\\List", "ServerPath")) << "a trailing backslash names the key itself";
}

TEST_F(OrvoReg, StoredValuesAreReturnedAndWrittenBackInTheirModesForm)
{
    struct Case
    {
        const char *what;
        RegType storedType;
        Bytes stored;
        int mode;
        QString expected;
        RegType typeAfter;
        Bytes storedAfter;
    };
    const Case cases[] = {
        {"negative integer", RegType::Dword, dwordBytes(-5), rmInteger, "-5", RegType::Dword, dwordBytes(-5)},
        {"text", RegType::Sz, textBytes("abc"), rmText, "abc", RegType::Sz, textBytes("abc")},
        {"text that ends at its first NUL", RegType::Sz, textBytes(QString("ab") + QChar(0) + "cd"), rmText, "ab",
         RegType::Sz, textBytes("ab")},
        {"expandable text comes back unexpanded as plain text", RegType::ExpandSz, textBytes("%TEMP%\\x"), rmText,
         "%TEMP%\\x", RegType::Sz, textBytes("%TEMP%\\x")},
        {"float", RegType::Binary, doubleBytes(1.5), rmFloat, "1.5", RegType::Binary, doubleBytes(1.5)},
        {"float needing 17 digits is stored rounded", RegType::Binary, doubleBytes(0.1 + 0.2), rmFloat, "0.3",
         RegType::Binary, doubleBytes(0.3)},
        {"unknown mode is text", RegType::Sz, textBytes("7"), 9, "7", RegType::Sz, textBytes("7")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        putRaw(LM, "Values", "V", c.storedType, c.stored);
        EXPECT_EQ(TOrvoReg().ReadString("Values", "v", "default", c.mode), c.expected);
        const auto after = raw(LM, "Values", "V");
        ASSERT_TRUE(after);
        EXPECT_EQ(after->type, c.typeAfter);
        EXPECT_EQ(after->data, c.storedAfter);
    }
    QStringList names;
    TOrvoReg().GetValueNames("Values", names);
    EXPECT_EQ(names, QStringList{"V"}) << "the write-back keeps the name's case";
}

TEST_F(OrvoReg, AValueOfTheWrongTypeFailsNamingItAndNothingIsWrittenBack)
{
    struct Case
    {
        const char *what;
        RegType type;
        Bytes data;
        std::function<void(TOrvoReg &)> read;
        QString error;
    };
    const auto readInteger = [](TOrvoReg &r) { r.ReadInteger("", "Kelloffice", 0); };
    const auto readFloat = [](TOrvoReg &r) { r.readFloat("", "Kelloffice"); };
    const auto readText = [](TOrvoReg &r) { r.ReadString("", "Kelloffice", "", rmText); };
    const QString invalid = "Invalid data type for 'Kelloffice'";
    const QString failed = "Failed to get data for 'Kelloffice'";
    const Case cases[] = {
        {"digits as text, longer than an integer", RegType::Sz, textBytes("12"), readInteger, failed},
        {"a digit as text, as long as an integer", RegType::Sz, textBytes("1"), readInteger, invalid},
        {"binary of 4 bytes as integer", RegType::Binary, dwordBytes(1), readInteger, invalid},
        {"float as integer", RegType::Binary, doubleBytes(1), readInteger, failed},
        {"integer as text", RegType::Dword, dwordBytes(1), readText, invalid},
        {"binary as text", RegType::Binary, doubleBytes(1), readText, invalid},
        {"multi-text as text", RegType::MultiSz, {0x61, 0, 0, 0, 0, 0}, readText, invalid},
        {"integer as float", RegType::Dword, dwordBytes(1), readFloat, invalid},
        {"binary of 4 bytes as float", RegType::Binary, dwordBytes(1), readFloat, invalid},
        {"binary of 12 bytes as float", RegType::Binary, Bytes(12, 0), readFloat, failed},
        {"text as float, as long as a float", RegType::Sz, textBytes("1.5"), readFloat, invalid},
        {"text as float, longer than a float", RegType::Sz, textBytes("12.25"), readFloat, failed},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        putRaw(LM, "", "Kelloffice", c.type, c.data);
        const QByteArray before = hiveBytes(LM);
        TOrvoReg reg;
        EXPECT_EQ(errorOf([&] { c.read(reg); }), c.error);
        EXPECT_EQ(hiveBytes(LM), before);
    }
    EXPECT_EQ(errorOf([] { ReadSettingInt("Kelloffice", "", 0); }), "Failed to get data for 'Kelloffice'")
        << "the free lookup passes the error on";
}

TEST_F(OrvoReg, WritesStoreEachModesTypeAndReplaceAnotherType)
{
    TOrvoReg reg;
    putRaw(LM, "W", "Number", RegType::Sz, textBytes("old text"));
    reg.WriteInteger("W", "Number", -1);
    EXPECT_EQ(stored(LM, "W", "Number").type, RegType::Dword);
    EXPECT_EQ(stored(LM, "W", "Number").data, dwordBytes(-1));

    reg.writeFloat("W", "Rate", 13.5);
    EXPECT_EQ(stored(LM, "W", "Rate").data, doubleBytes(13.5));
    EXPECT_EQ(reg.readFloat("W", "Rate"), 13.5);

    reg.WriteString("W", "Number", "text again", rmText);
    EXPECT_EQ(stored(LM, "W", "Number").type, RegType::Sz);
    EXPECT_EQ(reg.ReadInteger("W", "Missing", 42), 42);
}

TEST_F(OrvoReg, ANonNumericTextInANumberModeRaisesTheConversionErrorAndStoresNothing)
{
    TOrvoReg reg;
    EXPECT_EQ(errorOf([&] { reg.ReadString("N", "Count", "abc", rmInteger); }), "'abc' is not a valid integer value");
    EXPECT_EQ(errorOf([&] { reg.WriteString("N", "Count", "1.5", rmInteger); }), "'1.5' is not a valid integer value");
    EXPECT_EQ(errorOf([&] { reg.WriteString("N", "Count", "4294967296", rmInteger); }),
              "'4294967296' is not a valid integer value");
    EXPECT_EQ(errorOf([&] { reg.WriteString("N", "Rate", "x", rmFloat); }), "'x' is not a valid floating point value");
    EXPECT_FALSE(raw(LM, "N", "Count"));
    EXPECT_FALSE(raw(LM, "N", "Rate"));
}

TEST_F(OrvoReg, AValueTheRegistryRefusesToStoreFailsNamingIt)
{
    // longer than any value name the registry holds
    const QString refused(16384, QLatin1Char('v'));
    const QString error = "Failed to set data for '" + refused + "'";
    TOrvoReg reg;
    EXPECT_EQ(errorOf([&] { reg.WriteString("S", refused, "x", rmText); }), error);
    EXPECT_EQ(errorOf([&] { reg.WriteInteger("S", refused, 1); }), error);
    EXPECT_EQ(errorOf([&] { reg.ReadString("S", refused, "x", rmText); }), error) << "through the write-back";
    QStringList names{"old"};
    reg.GetValueNames("S", names);
    EXPECT_TRUE(names.isEmpty());
}

TEST_F(OrvoReg, FloatTextsFollowTheLocale)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    TOrvoReg reg;
    reg.writeFloat("", "Rate", 1234.5);
    EXPECT_EQ(reg.ReadString("", "Rate", "0", rmFloat), "1234,5");
    EXPECT_EQ(reg.readFloat("", "Rate"), 1234.5);
    reg.WriteString("", "Rate", "0,25", rmFloat);
    EXPECT_EQ(stored(LM, "", "Rate").data, doubleBytes(0.25));
    QLocale::setDefault(saved);
}

TEST_F(OrvoReg, FontsAreStoredAsFaceSizeStyleAndColour)
{
    TOrvoReg reg;
    QFont font("Arial", 10);
    font.setBold(true);
    font.setItalic(true);
    reg.writeFont("Fonts", "Grid", font, 255);
    EXPECT_EQ(stored(LM, "Fonts", "Grid").data, textBytes("Arial;10;3;255"));

    struct Case
    {
        QString stored;
        QString family;
        int pointSize;
        bool bold, italic, underline, strikeOut;
        qint32 colour;
    };
    const Case cases[] = {
        {"Arial;10", "Arial", 10, false, false, false, false, 0},
        {"Courier New;12;12;-16777201", "Courier New", 12, false, false, true, true, -16777201},
        {"Tahoma;x;17;abc", "Tahoma", 9, true, false, false, false, 0}, // style's low 8 bits only
        {"Verdana;11;257;1;extra", "Verdana", 11, true, false, false, false, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.stored.toStdString());
        putRaw(LM, "Fonts", "Grid", RegType::Sz, textBytes(c.stored));
        QFont read("Old Face", 9);
        read.setItalic(true);
        qint32 colour = 77;
        reg.ReadFont("Fonts", "Grid", read, colour);
        EXPECT_EQ(read.family(), c.family);
        EXPECT_EQ(read.pointSize(), c.pointSize);
        EXPECT_EQ(read.bold(), c.bold);
        EXPECT_EQ(read.italic(), c.italic);
        EXPECT_EQ(read.underline(), c.underline);
        EXPECT_EQ(read.strikeOut(), c.strikeOut);
        EXPECT_EQ(colour, c.colour);
    }

    QFont unchanged("Old Face", 9);
    qint32 colour = 77;
    reg.ReadFont("Fonts", "Missing", unchanged, colour);
    EXPECT_EQ(unchanged.family(), "Old Face");
    EXPECT_EQ(colour, 77);
    EXPECT_EQ(stored(LM, "Fonts", "Missing").data, textBytes(""));

    putRaw(LM, "Fonts", "Grid", RegType::Dword, dwordBytes(1));
    EXPECT_NO_THROW(reg.ReadFont("Fonts", "Grid", unchanged, colour)) << "a font read never fails";
}

TEST_F(OrvoReg, TheTreeIsMachineWideOnlyWithFullAccessToIt)
{
    putRaw(LM, "", "Kelloffice", RegType::Dword, dwordBytes(5));
    EXPECT_EQ(ReadSettingInt("Kelloffice", "", 0), 5);
    ASSERT_TRUE(QFileInfo::exists(hiveFile(LM)));

    denyMachineAccess();
    const QByteArray machine = hiveBytes(LM);
    TOrvoReg reg;
    EXPECT_EQ(reg.rootKey(), CU);
    EXPECT_EQ(ReadSettingInt("Kelloffice", "", 0), 0) << "values only the machine-wide tree holds are not seen";
    EXPECT_EQ(stored(CU, "", "Kelloffice").data, dwordBytes(0));
    EXPECT_EQ(hiveBytes(LM), machine);
}

TEST_F(OrvoReg, TheUsersOwnTreeIsAlwaysTheUsers)
{
    putRaw(LM, "", "Skin", RegType::Sz, textBytes("Machine.style"));
    TOrvoRegL user;
    EXPECT_EQ(user.rootKey(), CU);
    EXPECT_TRUE(keyExists(CU, "")) << "creating the accessor makes the product key";
    EXPECT_EQ(ReadUserSetting("Skin", "", "Default.style"), "Default.style");
    EXPECT_EQ(stored(CU, "", "Skin").data, textBytes("Default.style"));
    user.WriteString("", "Skin", "Dark.style", rmText);
    EXPECT_EQ(ReadUserSetting("skin", "", ""), "Dark.style");
    EXPECT_EQ(stored(LM, "", "Skin").data, textBytes("Machine.style"));
}

TEST_F(OrvoReg, DeletingValuesAndSections)
{
    TOrvoReg reg;
    for (const char *section : {"A\\B\\C\\D", "A\\B\\C2", "A2"})
        reg.WriteInteger(section, "V", 1);
    reg.WriteInteger("A\\B", "Kept", 1);

    struct Case
    {
        QString section;
        std::vector<QString> gone, kept;
    };
    const Case cases[] = {
        {"A\\", {}, {"A\\B"}},
        {"A\\B\\C", {"A\\B\\C", "A\\B\\C\\D"}, {"A\\B", "A\\B\\C2"}},
        {"a", {"A", "A\\B"}, {"A2"}},
        {"Nothing\\Here", {"Nothing\\Here"}, {"A2"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.section.toStdString());
        reg.deleteSection(c.section);
        for (const QString &s : c.gone)
            EXPECT_FALSE(keyExists(LM, s)) << s.toStdString();
        for (const QString &s : c.kept)
            EXPECT_TRUE(keyExists(LM, s)) << s.toStdString();
    }

    reg.WriteInteger("A2", "W", 2);
    reg.deleteKey("A2", "v");
    EXPECT_FALSE(raw(LM, "A2", "V"));
    EXPECT_TRUE(raw(LM, "A2", "W"));
}

TEST_F(OrvoReg, DatabaseListLinesAndTheDefaultEntry)
{
    TOrvoReg reg;
    QStringList lines{"left over"};
    EXPECT_EQ(reg.getDBDetails(lines, ";", ""), 0);
    EXPECT_TRUE(lines.isEmpty());
    EXPECT_EQ(reg.getDBDetails(lines, ";", "A"), -1);

    putRaw(LM, "Database\\List\\B", "LocalPath", RegType::Sz, textBytes("C:\\Data\\B.fdb"));
    putRaw(LM, "Database\\List\\B", "Colour", RegType::Dword, dwordBytes(-16777201));
    putRaw(LM, "Database\\List\\A", "LocalPath", RegType::Sz, textBytes("C:\\Data\\A.fdb"));
    putRaw(LM, "Database\\List\\A", "ServerPath", RegType::Sz, textBytes("srv:C:\\Data\\A.fdb"));
    putRaw(LM, "Database\\List\\C", "Colour", RegType::Sz, textBytes("red"));
    reg.SetlastUsedDB("b");

    EXPECT_EQ(reg.getDBDetails(lines, ";", ""), 1);
    EXPECT_EQ(lines, (QStringList{"A;C:\\Data\\A.fdb;srv:C:\\Data\\A.fdb;0", "B;C:\\Data\\B.fdb;;-16777201", "C;;;0"}));
    EXPECT_EQ(reg.getDBDetails(lines, "|", "c"), 2);
    EXPECT_EQ(lines.at(0), "A|C:\\Data\\A.fdb|srv:C:\\Data\\A.fdb|0");
    EXPECT_EQ(reg.getDBDetails(lines, ";", "Z"), -1);

    putRaw(LM, "Database\\List\\B", "ServerPath", RegType::Dword, dwordBytes(1));
    EXPECT_EQ(errorOf([&] { reg.getDBDetails(lines, ";", ""); }), "Invalid data type for 'ServerPath'");
    EXPECT_EQ(lines, QStringList{"A;C:\\Data\\A.fdb;srv:C:\\Data\\A.fdb;0"}) << "lines before the failure stay";
}

TEST_F(OrvoReg, TheLastUsedDatabasePath)
{
    TOrvoReg reg;
    putRaw(LM, "Database\\List\\Main", "ServerPath", RegType::Sz, textBytes("127.0.0.1:/data/main.fdb"));
    putRaw(LM, "Database\\List\\Main", "LocalPath", RegType::Sz, textBytes("/data/main.fdb"));
    reg.SetlastUsedDB("main");
    EXPECT_EQ(reg.GetlastUsedDB(), "MAIN");
    EXPECT_EQ(reg.getLastUsedDBPath(true), "127.0.0.1:/data/main.fdb");
    EXPECT_EQ(reg.getLastUsedDBPath(false), "/data/main.fdb");

    reg.SetlastUsedDB("sp\u00e4ti");
    EXPECT_EQ(reg.GetlastUsedDB(), "SP\u00e4TI") << "only ASCII letters are raised";
    EXPECT_EQ(reg.getLastUsedDBPath(true), "");
    EXPECT_EQ(subKeys(LM, "Database\\List"), (std::vector<std::wstring>{L"Main", L"SP\u00e4TI"}));
    QStringList lines;
    reg.getDBDetails(lines, ";", "");
    EXPECT_EQ(lines.at(1), "SP\u00e4TI;;;0");
}

TEST_F(OrvoReg, TheLoginIsReadFromTheDefaultEntryAndNothingIsWritten)
{
    putRaw(LM, "Database", "DefaultDatabase", RegType::Sz, textBytes("main"));
    putRaw(LM, "Database\\List\\Main", "ServerPath", RegType::Sz, textBytes("srv:/data/main.fdb"));
    putRaw(LM, "Database\\List\\Main", "DatabasePassword", RegType::Sz, textBytes("s3cret"));
    putRaw(LM, "Database\\List\\Other", "DatabaseUser", RegType::Sz, textBytes("CLERK"));
    const QByteArray before = hiveBytes(LM);
    TOrvoReg reg;
    QString user = "left over";
    QString password;
    reg.getLastUsedDBLogin(user, password);
    EXPECT_EQ(user, "");
    EXPECT_EQ(password, "s3cret");
    EXPECT_EQ(reg.getLastUsedDBKeyName(), "HKEY_LOCAL_MACHINE\\SOFTWARE\\Tollvane\\Orvo\\Database\\List\\MAIN");
    EXPECT_EQ(hiveBytes(LM), before) << "a missing value is not stored";

    putRaw(LM, "Database\\List\\Main", "DatabaseUser", RegType::Dword, dwordBytes(1));
    EXPECT_EQ(errorOf([&] { reg.getLastUsedDBLogin(user, password); }), "Invalid data type for 'DatabaseUser'");
}

TEST_F(OrvoReg, MissingDefaultDatabaseIsStoredEmptyAndItsPathLandsInTheListKey)
{
    TOrvoReg reg;
    EXPECT_EQ(reg.getLastUsedDBPath(true), "");
    EXPECT_EQ(stored(LM, "Database", "DefaultDatabase").data, textBytes(""));
    EXPECT_EQ(stored(LM, "Database\\List", "ServerPath").data, textBytes(""));
}

TEST_F(OrvoReg, DataTypesAndTheEncodedNames)
{
    putRaw(LM, "T", "Text", RegType::Sz, textBytes("x"));
    putRaw(LM, "T", "Expand", RegType::ExpandSz, textBytes("%x%"));
    putRaw(LM, "T", "Integer", RegType::Dword, dwordBytes(1));
    putRaw(LM, "T", "Binary", RegType::Binary, {1});
    putRaw(LM, "T", "Multi", RegType::MultiSz, {0, 0});
    putRaw(LM, "T", "IBAN", RegType::Sz, textBytes("IE00"));
    const struct
    {
        const char *key;
        TRegDataType type;
        bool encoded;
    } cases[] = {
        {"Text", rdString, false},   {"expand", rdExpandString, false}, {"Integer", rdInteger, false},
        {"Binary", rdBinary, false}, {"Multi", rdUnknown, false},       {"Missing", rdUnknown, false},
        {"IBAN", rdString, true},    {"BIC", rdUnknown, true},          {"iban", rdString, false},
    };
    TOrvoReg reg;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.key);
        bool encoded = !c.encoded;
        EXPECT_EQ(reg.GetDataType("T", c.key, encoded), c.type);
        EXPECT_EQ(encoded, c.encoded);
    }
    bool untouched = true;
    EXPECT_EQ(reg.GetDataType("New\\Section", "IBAN", untouched), rdUnknown);
    EXPECT_TRUE(keyExists(LM, "New\\Section")) << "the section is opened for writing";
}

TEST_F(OrvoReg, NamesOfValuesAndKeysInTheRegistrysOrder)
{
    TOrvoReg reg;
    for (const char *name : {"Zeta", "alpha", "Mid"})
        reg.WriteInteger("Names", name, 1);
    for (const char *name : {"b", "A", "C"})
        reg.WriteInteger(QString("Names\\") + name, "V", 1);
    QStringList list{"old"};
    reg.GetValueNames("Names", list);
    EXPECT_EQ(list, (QStringList{"Zeta", "alpha", "Mid"}));
    reg.GetKeyNames("Names", list);
    EXPECT_EQ(list, (QStringList{"A", "b", "C"}));
    list = QStringList{"kept"};
    reg.GetKeyNames("Missing", list);
    reg.GetValueNames("Missing", list);
    EXPECT_EQ(list, QStringList{"kept"});
    EXPECT_FALSE(keyExists(LM, "Missing"));
}

TEST_F(OrvoReg, TheCommandMailboxEmptiesTheRunningProgramsEntry)
{
    TOrvoReg reg;
    const QString self = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    reg.SetCommandSequence(self, "REFRESH");
    reg.SetCommandSequence("OrvoMain.exe", "CLOSE");
    EXPECT_EQ(reg.GetCommandSequence(""), "REFRESH");
    EXPECT_EQ(stored(LM, "IDEx\\" + self, "COMMAND").data, textBytes(""));

    reg.SetCommandSequence(self, "AGAIN");
    EXPECT_EQ(reg.GetCommandSequence("OrvoMain.exe"), "CLOSE");
    EXPECT_EQ(stored(LM, "IDEx\\OrvoMain.exe", "COMMAND").data, textBytes("CLOSE"));
    EXPECT_EQ(stored(LM, "IDEx\\" + self, "COMMAND").data, textBytes("")) << "its own entry, whatever was asked";
}

TEST_F(OrvoReg, KeyExistsAsksWithoutCreating)
{
    TOrvoReg reg;
    reg.SetlastUser("Anne");
    EXPECT_EQ(reg.GetlastUser(), "Anne");
    EXPECT_EQ(stored(LM, "", "LastUser").data, textBytes("Anne"));
    EXPECT_TRUE(reg.KeyExists(""));
    EXPECT_FALSE(reg.KeyExists("Database"));
    EXPECT_FALSE(keyExists(LM, "Database"));
    reg.SetlastUsedDB("x");
    EXPECT_TRUE(reg.KeyExists("database"));
}

TEST_F(OrvoReg, AnUnreadableHiveFailsNamingFileAndLineAndIsLeftAsItWas)
{
    const QByteArray broken = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE]\r\n"
                              "\"Skin\"=\"unclosed\r\n";
    struct Case
    {
        const char *what;
        RegRoot root;
        std::function<void()> call;
    };
    const Case cases[] = {
        {"the user's tree", CU, [] { ReadUserSetting("Skin", "", "x"); }},
        // Never a quiet change to the user's tree: that would be other settings.
        {"the machine-wide tree, while choosing the tree", LM, [] { TOrvoReg(); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QByteArray hive = broken;
        if (c.root == LM)
            hive.replace("HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE");
        QFile file(hiveFile(c.root));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(hive);
        file.close();
        try {
            c.call();
            ADD_FAILURE() << "no error";
        } catch (const RegistryStoreError &e) {
            EXPECT_NE(QString(e.what()).indexOf(hiveFile(c.root) + ", line 4"), -1) << e.what();
        }
        EXPECT_EQ(hiveBytes(c.root), hive);
        const RegRoot other = c.root == LM ? CU : LM;
        EXPECT_FALSE(QFileInfo::exists(hiveFile(other))) << "nothing written elsewhere instead";
        QFile::remove(hiveFile(c.root));
    }
}

} // namespace

// Program folder settling and the server-to-local database path mapping.
#include "settings/uOrvoReg.h"
#include "settings/uPaths.h"
#include "tests/support/QStringPrinter.h"
#include "tests/support/TempRegistry.h"
#include "util/Fields.h"
#include "util/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A fresh registry for every test.
class Paths : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(registry.isValid());
        ASSERT_TRUE(files.isValid());
        UtilsModuleStart();
    }
    void TearDown() override
    {
        PathsModuleStop();
        UtilsModuleStop();
    }

    static void addDatabase(const QString &name, const QString &local, const QString &server)
    {
        TOrvoReg reg;
        const QString section = "Database\\List\\" + name;
        reg.WriteString(section, "LocalPath", local, rmText);
        reg.WriteString(section, "ServerPath", server, rmText);
    }

    // A folder below the test's file area, optionally holding the back-office program.
    QString folder(const QString &relative, bool withProgram)
    {
        const QString path = files.filePath(relative);
        EXPECT_TRUE(QDir().mkpath(path));
        if (withProgram) {
            QFile program(path + "/OrvoMain.exe");
            EXPECT_TRUE(program.open(QIODevice::WriteOnly));
        }
        return path;
    }

    TempRegistry registry;
    QTemporaryDir files;
};

TEST_F(Paths, ServerPathsMapToTheFirstRegisteredLocalPath)
{
    // created out of order: the list runs in the registry's alphabetical key order
    addDatabase("BETA", "/pos/beta.fdb", "srv:C:\\Data\\Shared.fdb");
    addDatabase("ALPHA", "/pos/alpha.fdb", "srv:C:\\Data\\Shared.fdb");
    addDatabase("GAMMA", "/pos/gamma.fdb", "srv:C:\\Data\\Gamma.fdb");
    addDatabase("NOSERVER", "/pos/noserver.fdb", "");
    addDatabase("ACCENT", "/pos/accent.fdb", QString::fromUtf8("srv:C:\\Caf\xc3\xa9.fdb"));

    const struct
    {
        QString server;
        QString expected;
    } cases[] = {
        {"srv:C:\\Data\\Shared.fdb", "/pos/alpha.fdb"},
        {"SRV:c:\\data\\gamma.FDB", "/pos/gamma.fdb"},
        {QString::fromUtf8("srv:C:\\CAF\xc3\x89.fdb"), ""}, // only ASCII letters fold
        {"srv:C:\\Data\\Pos.fdb", ""},
        {"127.0.0.1:/data/pos.fdb", ""},
        {"C:\\Data\\Pos.fdb", "C:\\Data\\Pos.fdb"},
        {"/data/pos.fdb", "/data/pos.fdb"},
        {"", ""}, // never the entry whose server path is unset
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.server.toStdString());
        EXPECT_EQ(ServerToLocalPath(c.server), c.expected);
    }
}

TEST_F(Paths, UnregisteredPathsWithNoDatabaseListAtAll)
{
    EXPECT_EQ(ServerToLocalPath("C:\\Data\\Pos.fdb"), "C:\\Data\\Pos.fdb");
    EXPECT_EQ(ServerToLocalPath("srv:C:\\Data\\Pos.fdb"), "");
}

TEST_F(Paths, ProgramFolderFallsBackFromRegistryToExecutableToParent)
{
    const QString sep = QDir::separator();
    const QString suite = folder("suite", true);
    const QString bare = folder("bare", false);
    const QString toolsWithProgram = folder("pos/tools", true);
    const QString toolsAlone = folder("other/tools", false);

    const struct
    {
        const char *what;
        QString registryFolder;
        QString executable;
        QString expected;
    } cases[] = {
        {"registry folder holds the program", suite, toolsAlone + "/app", suite + sep},
        {"registry folder already ends in a separator", suite + sep, toolsAlone + "/app", suite + sep},
        {"registry folder lacks the program", bare, toolsWithProgram + "/app", toolsWithProgram + sep},
        {"registry folder missing", files.filePath("gone"), toolsWithProgram + "/app", toolsWithProgram + sep},
        {"nothing holds the program", bare, toolsAlone + "/app", files.filePath("other") + sep},
        {"no registry value", "", toolsAlone + "/app", files.filePath("other") + sep},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(SettleProgramFolder(c.registryFolder, c.executable), c.expected);
    }
}

TEST_F(Paths, ProgramFolderIgnoresAFolderNamedLikeTheProgram)
{
    const QString decoy = folder("decoy", false);
    ASSERT_TRUE(QDir(decoy).mkdir("OrvoMain.exe"));
    const QString tools = folder("pos/tools", false);
    EXPECT_EQ(SettleProgramFolder(decoy, tools + "/app"), files.filePath("pos") + QDir::separator());
}

TEST_F(Paths, ModuleStartSettlesTheFolderFromTheRegistryAndStoresTheValue)
{
    const QString suite = folder("suite", true);
    TOrvoReg().WriteString("", "ProgramFolder", suite, rmText);

    PathsModuleStart();
    EXPECT_EQ(GetProgramFolder(), suite + QDir::separator());
    PathsModuleStop();
    EXPECT_EQ(GetProgramFolder(), "");
}

TEST_F(Paths, ModuleStartWithoutASettingStoresItEmptyAndUsesTheExecutable)
{
    PathsModuleStart();
    // the test executable's folder holds no back-office program: its parent is used
    const QString executableFolder = QFileInfo(ModuleFileName()).absolutePath();
    EXPECT_EQ(GetProgramFolder(), QFileInfo(executableFolder).path() + QDir::separator());

    bool encoded = false;
    EXPECT_EQ(TOrvoReg().GetDataType("", "ProgramFolder", encoded), rdString);
}

} // namespace

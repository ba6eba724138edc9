// Why the settings give no database path: each case leaves the machine hive as
// an installation might have it, the program reads the path as it does when it
// opens the database (storing its defaults), and then asks why it is empty.
#include "settings/DatabasePathProblem.h"
#include "settings/uOrvoReg.h"
#include "tests/support/QStringPrinter.h"
#include "tests/support/TempRegistry.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

const char kShopListed[] = R"(Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\SOFTWARE\Tollvane\Orvo\Database]
"DefaultDatabase"="Shop"

[HKEY_LOCAL_MACHINE\SOFTWARE\Tollvane\Orvo\Database\List\Shop]
"ServerPath"="srv:/data/shop.fdb"
)";

const char kShopNotListed[] = R"(Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\SOFTWARE\Tollvane\Orvo\Database]
"DefaultDatabase"="Shop"

[HKEY_LOCAL_MACHINE\SOFTWARE\Tollvane\Orvo\Database\List\Main]
"ServerPath"="srv:/data/main.fdb"
)";

const char kShopWithoutServerPath[] = R"(Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\SOFTWARE\Tollvane\Orvo\Database]
"DefaultDatabase"="Shop"

[HKEY_LOCAL_MACHINE\SOFTWARE\Tollvane\Orvo\Database\List\Main]
"ServerPath"="srv:/data/main.fdb"

[HKEY_LOCAL_MACHINE\SOFTWARE\Tollvane\Orvo\Database\List\Shop]
"LocalPath"="/data/shop.fdb"
"ServerPath"=""
)";

const char kNoDefault[] = R"(Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\SOFTWARE\Tollvane\Orvo\Database\List\Main]
"ServerPath"="srv:/data/main.fdb"
)";

const QString kMissing =
    QStringLiteral("The machine's back-office settings file $HIVE is missing or sets up no database: "
                   "HKEY_LOCAL_MACHINE\\SOFTWARE\\Tollvane\\Orvo\\Database\\List has no entry with a ServerPath.");
const QString kShopHasNoPath = QStringLiteral(
    "The back-office settings name the database \"Shop\" (HKEY_LOCAL_MACHINE\\SOFTWARE\\Tollvane\\Orvo\\Database, "
    "value DefaultDatabase), but HKEY_LOCAL_MACHINE\\SOFTWARE\\Tollvane\\Orvo\\Database\\List has no entry \"Shop\" "
    "with a ServerPath.");

} // namespace

TEST(LastUsedDatabasePathProblem, NamesTheCauseAndTheSettingToMend)
{
    struct Case
    {
        const char *what;
        const char *machineHive; // null: no file
        bool machineWritable;
        QString problem; // $HIVE: the machine hive's file
    };
    const Case cases[] = {
        {"the path is set", kShopListed, true, {}},
        {"no machine hive", nullptr, true, kMissing},
        {"no machine hive, and none can be made", nullptr, false, kMissing},
        {"the default names no listed entry", kShopNotListed, true, kShopHasNoPath},
        {"the default's entry has no server path", kShopWithoutServerPath, true, kShopHasNoPath},
        {"no default", kNoDefault, true,
         QStringLiteral("The back-office settings name no database: "
                        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Tollvane\\Orvo\\Database, value DefaultDatabase, is empty.")},
        {"the machine hive cannot be written", kShopListed, false,
         QStringLiteral("The machine's back-office settings file $HIVE cannot be written here, so the program reads "
                        "the user's own settings instead, and they give no database path "
                        "(HKEY_CURRENT_USER\\SOFTWARE\\Tollvane\\Orvo\\Database, value DefaultDatabase, is \"\").")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TempRegistry registry;
        const QString machineHive = registry.filePath(QStringLiteral("HKEY_LOCAL_MACHINE.reg"));
        if (c.machineHive)
            writeFile(machineHive, c.machineHive);
        // No writer can open a folder standing in the lock file's place, not even root.
        if (!c.machineWritable)
            ASSERT_TRUE(QDir().mkpath(machineHive + QStringLiteral(".lock")));

        EXPECT_EQ(TOrvoReg().getLastUsedDBPath(true).isEmpty(), !c.problem.isEmpty());
        EXPECT_EQ(LastUsedDatabasePathProblem(), QString(c.problem).replace(QStringLiteral("$HIVE"), machineHive));
    }
}

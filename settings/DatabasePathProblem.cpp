#include "settings/DatabasePathProblem.h"

#include "settings/MachineSettingsPlace.h"
#include "settings/RegistryValues.h"
#include "settings/uOrvoReg.h"

#include <algorithm>

using namespace RegistryValues;

namespace {

const QString kDatabase = QStringLiteral("Database");
const QString kList = QStringLiteral("Database\\List");
const QString kDefaultDatabase = QStringLiteral("DefaultDatabase");
const QString kServerPath = QStringLiteral("ServerPath");

// The path getLastUsedDBPath reads: an empty name reads the list key's own value.
QString serverPath(RegRoot root, const QString &entry)
{
    return storedText(root, kList + QLatin1Char('\\') + entry, kServerPath);
}

bool listsADatabase(RegRoot root)
{
    std::unique_ptr<RegistryKey> list;
    std::vector<std::wstring> entries;
    if (!openSection(root, kList, true, list) || list->enumSubKeys(entries) != RegResult::Success)
        return false;
    return std::any_of(entries.begin(), entries.end(),
                       [root](const std::wstring &entry) { return !serverPath(root, text(entry)).isEmpty(); });
}

} // namespace

QString LastUsedDatabasePathProblem()
{
    const RegRoot root = TOrvoReg().rootKey();
    const QString name = storedText(root, kDatabase, kDefaultDatabase);
    if (!serverPath(root, name).isEmpty())
        return {};

    constexpr RegRoot machine = RegRoot::LocalMachine;
    const QString machineSettings = MachineSettingsPlace();
    // A missing machine hive does not stay missing: the first settings read of
    // a run that may write it stores its defaults there, and no database.
    if (!listsADatabase(machine))
        return QStringLiteral("The machine's back-office %1 is missing or sets up no database: %2 has "
                              "no entry with a %3.")
            .arg(machineSettings, keyName(machine, kList), kServerPath);
    if (root != machine)
        return QStringLiteral("The machine's back-office %1 cannot be written here, so the program reads "
                              "the user's own settings instead, and they give no database path (%2, value %3, is "
                              "\"%4\").")
            .arg(machineSettings, keyName(root, kDatabase), kDefaultDatabase, name);
    if (name.isEmpty())
        return QStringLiteral("The back-office settings name no database: %1, value %2, is empty.")
            .arg(keyName(root, kDatabase), kDefaultDatabase);
    return QStringLiteral("The back-office settings name the database \"%1\" (%2, value %3), but %4 has no entry "
                          "\"%1\" with a %5.")
        .arg(name, keyName(root, kDatabase), kDefaultDatabase, keyName(root, kList), kServerPath);
}

// The settings as the program reads them at start and on Proceed, over hive files made
// of the input: the machine hive, then after a line "@@user@@" the user's hive (none
// when the line is missing). A hive that cannot be read is refused with its reason; a
// read that writes its default back must leave every other setting as it was.
#include "settings/DatabasePathProblem.h"
#include "settings/store/HiveFile.h"
#include "settings/uOrvoReg.h"
#include "settings/uPaths.h"
#include "util/Errors.h"

#include <QTemporaryDir>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/stat.h>

namespace {

const std::string kUserHiveLine = "\n@@user@@\n";

// The store keeps a parsed hive while its file looks unchanged; every input's files get
// a modification time of their own, so the store never mistakes one for the last.
void writeHiveFile(const std::string &path, const std::string &bytes)
{
    static long long stamp = 0;
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), std::streamsize(bytes.size()));
    const struct timespec times[2] = {{++stamp, 0}, {stamp, 0}};
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

void placeHives(const std::string &bytes)
{
    static QTemporaryDir folder;
    static const bool named = ::setenv("PORDANE_REGISTRY_DIR", folder.path().toLocal8Bit().constData(), 1) == 0;
    if (!folder.isValid() || !named)
        std::abort();
    const std::size_t split = bytes.find(kUserHiveLine);
    writeHiveFile(hiveFilePath(RegRoot::LocalMachine), bytes.substr(0, split));
    const std::string user = hiveFilePath(RegRoot::CurrentUser);
    if (split == std::string::npos)
        std::remove(user.c_str());
    else
        writeHiveFile(user, bytes.substr(split + kUserHiveLine.size()));
}

void readAsTheProgramDoes()
{
    PathsModuleStart();
    TOrvoReg().ReadInteger(QStringLiteral("Debug"), QStringLiteral("DebugLevel"), 0);
    ReadUserSetting(QStringLiteral("Skin"), QString(), QString());
    const QString serverPath = TOrvoReg().getLastUsedDBPath(true);
    if (serverPath.isEmpty())
        LastUsedDatabasePathProblem();
    ReadSettingInt(QStringLiteral("Kelloffice"), QString(), 0);
    const QString localPath = ServerToLocalPath(serverPath);
    // Everything above wrote back what it read: the same settings must read the same.
    if (TOrvoReg().getLastUsedDBPath(true) != serverPath || ServerToLocalPath(serverPath) != localPath)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    placeHives(std::string(reinterpret_cast<const char *>(data), size));
    try {
        readAsTheProgramDoes();
    } catch (const RegistryStoreError &) {
        // a hive that cannot be read, named with its line
    } catch (const EPosError &) {
        // a stored value of the wrong type, named
    }
    PathsModuleStop();
    return 0;
}

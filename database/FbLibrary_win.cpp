#include "database/FbLibrary.h"

#include "util/Errors.h"
#include "util/PlatformPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <windows.h>

#include <vector>

namespace {

const QString kLibrary = QStringLiteral("fbclient.dll");

// Where Firebird's installer records the folder it installed into.
const wchar_t kInstancesKey[] = L"SOFTWARE\\Firebird Project\\Firebird Server\\Instances";
const wchar_t kDefaultInstance[] = L"DefaultInstance";

using GetMasterInterface = Firebird::IMaster *(ISC_EXPORT *)();

struct TPlace
{
    QString folder;      // empty when the place is not known on this machine
    QString description; // what the folder is, for the operator
};

// Windows' reason why `file` could not be loaded.
QString loadFailure(DWORD code, const QString &file)
{
    wchar_t *text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    QString message =
        length ? QString::fromWCharArray(text, int(length)).trimmed() : QStringLiteral("Windows error %1.").arg(code);
    LocalFree(text);
    // Some reasons name the file as an insert ("%1 is not a valid Win32 application.").
    message.replace(QStringLiteral("%1"), file);
    if (code == ERROR_BAD_EXE_FORMAT)
        message += QStringLiteral(" It is not a 64-bit library: this program is 64-bit and cannot load a 32-bit "
                                  "client library.");
    return message;
}

// The installed Firebird's folder, as its installer recorded it in this program's
// (64-bit) view of the registry; empty when none is recorded.
QString installedFirebirdFolder()
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD size = DWORD(buffer.size() * sizeof(wchar_t));
        // RRF_RT_REG_SZ takes an expandable string too, expanded; naming
        // RRF_RT_REG_EXPAND_SZ as well would fail every read with an invalid parameter.
        const LSTATUS status = RegGetValueW(HKEY_LOCAL_MACHINE, kInstancesKey, kDefaultInstance, RRF_RT_REG_SZ, nullptr,
                                            buffer.data(), &size);
        if (status == ERROR_MORE_DATA) {
            buffer.resize(size / sizeof(wchar_t) + 1);
            continue;
        }
        if (status != ERROR_SUCCESS)
            return {};
        return QString::fromWCharArray(buffer.data()).trimmed();
    }
}

QString systemFolder()
{
    wchar_t buffer[MAX_PATH];
    const UINT length = GetSystemDirectoryW(buffer, MAX_PATH);
    return length && length < MAX_PATH ? QString::fromWCharArray(buffer, int(length)) : QString();
}

std::vector<TPlace> places()
{
    return {
        {QFileInfo(ExecutableFilePath()).absolutePath(), QStringLiteral("the program's folder")},
        {installedFirebirdFolder(),
         QStringLiteral("the installed Firebird client, HKEY_LOCAL_MACHINE\\%1, value %2")
             .arg(QString::fromWCharArray(kInstancesKey), QString::fromWCharArray(kDefaultInstance))},
        // Firebird's installer copies the client library there when asked to.
        {systemFolder(), QStringLiteral("the Windows system folder")},
    };
}

} // namespace

Firebird::IMaster *Fb::loadMaster()
{
    QStringList tried;
    for (const TPlace &place : places()) {
        if (place.folder.isEmpty()) {
            // The description is written to follow a file name; here it starts the line.
            tried << QStringLiteral("- %1%2: none is recorded.")
                         .arg(place.description.left(1).toUpper(), place.description.mid(1));
            continue;
        }
        const QString file = QDir::toNativeSeparators(QDir(place.folder).filePath(kLibrary));
        // The altered search path finds the library's own DLLs (its C++ runtime) in
        // its folder rather than in ours.
        const HMODULE library =
            LoadLibraryExW(reinterpret_cast<const wchar_t *>(file.utf16()), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        if (!library) {
            tried << QStringLiteral("- %1 (%2): %3").arg(file, place.description, loadFailure(GetLastError(), file));
            continue;
        }
        const auto getMaster = reinterpret_cast<GetMasterInterface>(GetProcAddress(library, "fb_get_master_interface"));
        if (!getMaster) {
            FreeLibrary(library);
            tried << QStringLiteral("- %1 (%2): not a Firebird 3 client library, it has no fb_get_master_interface.")
                         .arg(file, place.description);
            continue;
        }
        // Kept loaded for the rest of the run: every interface the program holds lives in it.
        return getMaster();
    }
    throw EPosError(QStringLiteral("The Firebird client library %1 could not be loaded. The program looked "
                                   "for it in these places:\r\n\r\n%2\r\n\r\nInstall the 64-bit Firebird 3 "
                                   "client, or put its %1 beside the program.")
                        .arg(kLibrary, tried.join(QStringLiteral("\r\n"))));
}

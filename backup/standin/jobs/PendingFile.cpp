#include "backup/standin/jobs/PendingFile.h"

#include "util/Errors.h"
#include "util/SafeFiles.h"

#include <filesystem>
#include <system_error>

namespace {

EPosError notRenamed(const QString &from, const QString &to, const QString &reason)
{
    return EPosError(QStringLiteral("\"%1\" could not be renamed to \"%2\": %3").arg(from, to, reason));
}

} // namespace

void TPendingFile::keepAs(const QString &finalPath)
{
    // One rename that replaces the target, so no moment passes without a complete file under the name.
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(fPath.toStdU16String()),
                            std::filesystem::path(finalPath.toStdU16String()), error);
    if (error)
        throw notRenamed(fPath, finalPath, QString::fromLocal8Bit(error.message().c_str()));
    fKept = true;
}

void TPendingFile::keepAsNew(const QString &finalPath)
{
    try {
        RenameToFreeName(fPath, finalPath);
    } catch (const EPosError &e) {
        throw notRenamed(fPath, finalPath, e.message());
    }
    fKept = true;
}

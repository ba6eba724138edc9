#include "backup/standin/jobs/PendingFile.h"

#include "util/Errors.h"

#include <filesystem>
#include <system_error>

void TPendingFile::keepAs(const QString &finalPath)
{
    // One rename that replaces the target, so no moment passes without a complete file under the name.
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(fPath.toStdU16String()),
                            std::filesystem::path(finalPath.toStdU16String()), error);
    if (error)
        throw EPosError(QStringLiteral("\"%1\" could not be renamed to \"%2\": %3")
                            .arg(fPath, finalPath, QString::fromLocal8Bit(error.message().c_str())));
    fKept = true;
}

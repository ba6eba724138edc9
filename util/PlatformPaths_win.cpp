#include "util/PlatformPaths.h"

#include <windows.h>

#include <vector>

QString ExecutableFilePath()
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
        if (length == 0)
            return QString();
        if (length < buffer.size())
            return QString::fromWCharArray(buffer.data(), int(length));
        buffer.resize(buffer.size() * 2);
    }
}

// Drive-letter paths are recognised by the caller; nothing else is local here.
bool IsPlatformLocalPath(const QString &)
{
    return false;
}

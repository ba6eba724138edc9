#pragma once
// Path questions whose answer depends on the operating system; one source file per platform.
#include <QString>

// The running executable's full path, found without an application object.
QString ExecutableFilePath();

// True for a path that is absolute on this platform and names a file on this machine.
bool IsPlatformLocalPath(const QString &path);

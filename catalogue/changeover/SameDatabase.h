#pragma once
// Whether a change record was made for the database the connection has open, however
// the two name it.
#include <QString>

// True when both paths name the same database. A path with a host ("host:path", the host
// longer than one character so that "C:\..." stays local) matches another of the same
// host (in any case) whose path is the same once its `.`, `..` and doubled separators are
// resolved; a drive-letter path ("C:\...", "C:/...") compares without regard to case or
// the kind of slash. Paths on this machine match when they lead to the same file, through
// `..` or links; a file that is not here compares by its resolved path alone.
bool sameDatabase(const QString &recorded, const QString &connected);

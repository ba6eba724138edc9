#pragma once
// Why the back-office settings give no server path for the last used database,
// in words for the operator, naming the setting that needs mending.
#include <QString>

// Empty when TOrvoReg().getLastUsedDBPath(true) gives a path. Otherwise one of:
// the machine hive is missing or lists no database with a server path; this run
// cannot write the machine hive and reads the user's own settings instead; or
// DefaultDatabase is empty or names no listed database with a server path.
// Reads the tree that TOrvoReg chooses, without storing the defaults that its
// reads store. Throws what the settings reads throw.
QString LastUsedDatabasePathProblem();

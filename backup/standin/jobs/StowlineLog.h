#pragma once
// The component's own log, "Stowline.log" in the program's log folder.
#include <QString>

// Appends one time-stamped entry; safe from any thread. A log that cannot be
// written loses the entry and nothing else.
void StowlineLog(const QString &text);
// Where the entries go.
QString StowlineLogFileName();

#pragma once
// A name from the database as the window shows it.
#include <QString>

// The name between FIRST STRONG ISOLATE and POP DIRECTIONAL ISOLATE (U+2068, U+2069):
// right-to-left text, or a direction override the name leaves open, then takes its
// direction from the name itself and cannot reorder what is shown beside it.
QString isolatedName(const QString &name);

// What the window shows for a name the database does not hold (NULL), so that it never
// looks like an empty one: "(no name)".
QString missingName();

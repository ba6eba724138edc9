#pragma once
// A name from the database as the window shows it.
#include <QString>
#include <Qt>

// The name between FIRST STRONG ISOLATE and POP DIRECTIONAL ISOLATE (U+2068, U+2069):
// right-to-left text, or a direction override the name leaves open, then takes its
// direction from the name itself and cannot reorder what is shown beside it.
QString isolatedName(const QString &name);

// A tree node's caption with the name in it set apart as above, so that the rate after
// it, and whatever follows the caption, stays where it is.
QString captionWithIsolatedName(const QString &caption);

// What the window shows for a name the database does not hold (NULL), so that it never
// looks like an empty one: "(no name)".
QString missingName();

// The item role under which a model says (true) that the name it shows is missingName(),
// so that the view draws it apart, in grey italics.
constexpr int kNameMissingRole = Qt::UserRole + 100;

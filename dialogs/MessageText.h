#pragma once
// The message as the dialog shows it: its line breaks made one kind, its size
// measured, and break chances in words too wide to wrap.
#include <QFont>
#include <QSize>
#include <QString>

namespace messagetext {

// The message without one trailing line break, its breaks (CR LF, LF or a lone CR) as LF.
QString shownText(const QString &message);

// Size of the text drawn unwrapped (width of the longest line, height of all lines).
QSize naturalTextSize(const QFont &font, const QString &text);

// Height of the text wrapped at word boundaries within `width`.
int wrappedTextHeight(const QFont &font, const QString &text, int width);

// The text with break chances (zero-width spaces) between the characters of every
// word wider than `width`, which word wrapping would otherwise cut off at the
// label's edge (a long file name in an error, for instance). Other words stay whole.
QString breakableLongWords(const QFont &font, const QString &text, int width);

} // namespace messagetext

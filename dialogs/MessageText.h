#pragma once
// The message as the dialog shows it: its line breaks made one kind, its size
// measured, and break chances in words too wide to wrap.
#include <QFont>
#include <QSize>
#include <QString>

namespace messagetext {

// The message without one trailing line break, its breaks (CR LF, LF or a lone CR) as LF.
QString shownText(const QString &message);

// Names longer than a dialog can usefully show (a description of two million characters,
// say) cut with an ellipsis: every run without white space longer than kLongestWord
// characters, and every line longer than kLongestLine. The main log keeps them whole.
constexpr qsizetype kLongestWord = 300;
constexpr qsizetype kLongestLine = 2000;
QString shortenedNames(const QString &text);

// The text's first `count` lines and, when it has more, a last line "… and N more lines".
QString firstLines(const QString &text, qsizetype count);

// Size of the text drawn unwrapped (width of the longest line, height of all lines).
QSize naturalTextSize(const QFont &font, const QString &text);

// Height of the text wrapped at word boundaries within `width`.
int wrappedTextHeight(const QFont &font, const QString &text, int width);

// The text with break chances (zero-width spaces) between the characters of every
// word wider than `width`, which word wrapping would otherwise cut off at the
// label's edge (a long file name in an error, for instance). Other words stay whole.
QString breakableLongWords(const QFont &font, const QString &text, int width);

} // namespace messagetext

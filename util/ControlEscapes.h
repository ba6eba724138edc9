#pragma once
// Text from the database or another program made safe for a line-based log: no
// character in it can end the line, start a forged one or turn the text around it.
#include <QString>

// The text with the backslash doubled, CR, LF and tab as \r \n \t, every other control
// character (C0, DEL, C1) as \xNN and the characters that break lines or steer the
// direction of text (U+2028, U+2029, bidirectional marks, embeddings, overrides and
// isolates) as \uNNNN. Nothing else changes, so the original can always be read back.
QString escapeControls(const QString &text);

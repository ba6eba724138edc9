#pragma once
// Entry lines: one fixed-column text line per listed department and level, gathered
// in any order and with repeats, then sorted so that parents come before children and
// siblings follow their names.
//
// Columns (from 1): level digit; description padded or cut to 20; rate text padded on
// the left to 10 (never cut); parent id and own id, each padded with "0" to at least
// 5 digits; "1" when the department qualified itself. Ids of six digits or more widen
// their column instead of being cut, so that they stay exact.
#include <QList>
#include <QString>
#include <QtGlobal>

struct TEntryLine
{
    int level = 0;
    qint32 parentId = 0; // 0 on level 1
    qint32 ownId = 0;
    QString caption; // description (20 columns) and rate text, trimmed at both ends
    QString text;    // the whole fixed-column line
};

TEntryLine makeEntryLine(int level, const QString &description, const QString &rateText, qint32 parentId, qint32 ownId,
                         bool qualified);

// Whole lines compared without regard to case by the default locale's collation;
// equal lines keep their order.
void sortEntryLines(QList<TEntryLine> &lines);

// The lines' texts, one per text line, for the trace of what was gathered: each with
// its control characters escaped (escapeControls), so that it stays one line.
QString entryLinesText(const QList<TEntryLine> &lines);

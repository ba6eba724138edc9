#pragma once
// The record of what a changeover (or a revert) changed: a CSV file beside the run's
// backup that a spreadsheet on the operator's PC opens as it is (UTF-8 with a byte-order
// mark, CR LF line ends), with a header block saying whose database it was, and from
// which a revert can put every row back.
#include "catalogue/changeover/ChangedRow.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

struct TChangeRecord
{
    QString database; // the server path of the database
    qint32 siteID = 0;
    QDateTime time;
    QString program; // name and version of the program that made it
    QString madeBy;  // "Changeover", or "Revert of <record>"
    QList<TChangedRow> rows;
    // The run's commit failed, so its rows may have changed or not: the header says so.
    // Records of runs whose commit went through (and those from before) have no such line.
    bool outcomeUnknown = false;
    // Read back: whether the header held the digest of the rows (every record written
    // now does; records from before it do not).
    bool sealed = true;
    // The rate of each code, shown beside its id; not needed to read a record back.
    QHash<qint32, QString> rates;
};

// Where the record of a run whose backup is backupFile goes: beside it, its name with
// ".changes.csv" added.
QString changeRecordPath(const QString &backupFile);

// Every text is written as it is, line breaks inside a quoted field (a spreadsheet shows
// them in the cell), with a leading apostrophe before one a spreadsheet would take for a
// formula or that begins with an apostrophe; reading back drops that apostrophe, so that
// every text reads back exactly; the header line "Texts" says so. The header's "Digest"
// is the SHA-256 of the rows' lines as written (UTF-8, CR LF line ends, no byte-order
// mark), which the reader writes again from the fields it read, so that a spreadsheet's
// other quoting or line ends still match; for a record without the line "Texts", as such
// a record wrote them.
QByteArray changeRecordBytes(const TChangeRecord &record);
// Whether a description the database holds now is the one the row was recorded with:
// the same text, or for a row of a record from before the header line "Texts" (line
// breaks as spaces, the apostrophe before a formula kept) the text such a record wrote.
bool holdsRecordedDescription(const TChangedRow &recorded, const QString &description);

// EPosError naming the file and the line when the bytes are not a whole record of ours,
// or when its rows do not match the digest in its header.
TChangeRecord parseChangeRecord(const QByteArray &bytes, const QString &fileName);

// Written under a temporary name, through to the disk, and renamed into place, so that a
// record is either whole or absent. Whatever is already at the name (a file, a link) is
// left as it is. EPosError with the reason when it cannot be written.
void writeChangeRecord(const QString &path, const TChangeRecord &record);
// EPosError naming the file (and the line) when it cannot be read or used: a device, a
// pipe or a file larger than any record is refused before it is read. A record
// without a digest is taken only when the file was last written when the record was
// made, so a record saved again since (by hand, by a spreadsheet) is refused.
TChangeRecord readChangeRecord(const QString &path);

// "Department", "Sub-department", "Third-level department" or "Product".
QString changedTableName(TChangedTable table);

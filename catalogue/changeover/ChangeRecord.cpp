#include "catalogue/changeover/ChangeRecord.h"

#include "util/Errors.h"
#include "util/SafeFiles.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringList>
#include <optional>

namespace {

const QString kTitle = QStringLiteral("Pordane 2023 change record");
const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
const QStringList kHeaderKeys = {QStringLiteral("Database"), QStringLiteral("Site"),    QStringLiteral("Time"),
                                 QStringLiteral("Program"),  QStringLiteral("Made by"), QStringLiteral("Rows")};
// After the keys above, only in the record of a run whose commit failed.
const QString kOutcomeKey = QStringLiteral("Outcome");
const QString kUnknownOutcome = QStringLiteral("Unknown (committing the changes failed)");
// Then, in every record written now: its texts are exact. Records without the line wrote
// line breaks as spaces and kept the apostrophe that guards a formula as part of the text.
const QString kTextsKey = QStringLiteral("Texts");
const QString kExactTexts =
    QStringLiteral("As stored, line breaks included; an apostrophe before a text is not part of it");
// Then: SHA-256 of the rows as written, so that a code edited since (by hand or by a
// spreadsheet) is never put back.
const QString kDigestKey = QStringLiteral("Digest");
// Far above any real record (a hundred bytes a row), low enough to refuse a wrong file
// before it is read.
constexpr qint64 kMaxRecordBytes = 64 * 1024 * 1024;
// How long after the time it names a record without a digest may have been written.
constexpr qint64 kUnsealedWriteSeconds = 5 * 60;
const QStringList kColumns = {QStringLiteral("Table"),
                              QStringLiteral("Id"),
                              QStringLiteral("Description"),
                              QStringLiteral("Old sales code"),
                              QStringLiteral("Old sales rate"),
                              QStringLiteral("Old purchase code"),
                              QStringLiteral("New sales code"),
                              QStringLiteral("New sales rate"),
                              QStringLiteral("New purchase code")};
const QString kCrLf = QStringLiteral("\r\n");

// One CSV record of the file: the line it starts on and the one it ends on (a quoted
// line break spans lines), its fields, and whether its last quoted field was closed.
struct TCsvRecord
{
    int line = 0;
    int lastLine = 0;
    QStringList fields;
    bool closed = true;
};

// The records of the text. A line break (LF or CR LF) outside quotes ends a record;
// inside quotes every character is the field's, line breaks included. Blank lines at
// the end are dropped.
QList<TCsvRecord> csvRecords(const QString &text)
{
    QList<TCsvRecord> records;
    TCsvRecord record;
    record.line = 1;
    int line = 1;
    QString field;
    bool quoted = false;
    const auto endRecord = [&] {
        record.fields << field;
        record.lastLine = line;
        records << record;
        field.clear();
        record = TCsvRecord();
        record.line = line + 1;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
                if (c == QLatin1Char('\n'))
                    ++line;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            record.fields << field;
            field.clear();
        } else if (c == QLatin1Char('\n') || (c == QLatin1Char('\r') && text.mid(i + 1, 1) == QLatin1String("\n"))) {
            if (c == QLatin1Char('\r'))
                ++i;
            endRecord();
            ++line;
        } else {
            field += c;
        }
    }
    if (quoted || !field.isEmpty() || !record.fields.isEmpty()) {
        record.closed = !quoted;
        endRecord();
    }
    while (!records.isEmpty() && records.last().fields == QStringList(QString()))
        records.removeLast();
    return records;
}

// Whether a spreadsheet would take the text for a formula: it opens with one of the
// characters given and is not a number.
bool opensAsFormula(const QString &text, const QString &formulaStarts)
{
    bool number = false;
    text.toLongLong(&number);
    return !text.isEmpty() && formulaStarts.contains(text.front()) && !number;
}

// The text as a record writes it: a leading apostrophe before one a spreadsheet would
// take for a formula, so that a product named "=..." never runs as one when the record is
// opened, and before one that begins with an apostrophe itself, so that reading back
// drops exactly one.
QString guardedText(const QString &text)
{
    if (opensAsFormula(text, QStringLiteral("=+-@\t\r")) || text.startsWith(QLatin1Char('\'')))
        return QLatin1Char('\'') + text;
    return text;
}

// A text as a record without the line "Texts" holds it: line breaks as spaces, and the
// apostrophe that keeps a spreadsheet from taking it for a formula kept.
QString olderRecordText(QString text)
{
    text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (opensAsFormula(text, QStringLiteral("=+-@\t")))
        text.prepend(QLatin1Char('\''));
    return text;
}

QString unguardedText(const QString &field)
{
    return field.startsWith(QLatin1Char('\'')) ? field.mid(1) : field;
}

// One CSV field, quoted where the text needs it: line breaks stay inside the quotes.
QString quotedField(QString text)
{
    const bool quoted = text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"'))
        || text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n')) || text.startsWith(QLatin1Char(' '))
        || text.endsWith(QLatin1Char(' ')) || text.startsWith(QLatin1Char('\''));
    if (!quoted)
        return text;
    return QLatin1Char('"') + text.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

QString csvLine(const QStringList &fields)
{
    QStringList written;
    for (const QString &field : fields)
        written << quotedField(guardedText(field));
    return written.join(QLatin1Char(',')) + kCrLf;
}

// A line as records without the line "Texts" wrote it, from its fields as they read back:
// the digest of such a record is over these bytes.
QString olderCsvLine(const QStringList &fields)
{
    QStringList written;
    for (const QString &field : fields)
        written << quotedField(olderRecordText(field));
    return written.join(QLatin1Char(',')) + kCrLf;
}

QString rowsDigest(const QString &rowsSection)
{
    return QString::fromLatin1(QCryptographicHash::hash(rowsSection.toUtf8(), QCryptographicHash::Sha256).toHex());
}

QString codeText(const std::optional<qint32> &code)
{
    return code ? QString::number(*code) : QString();
}

QString rateText(const QHash<qint32, QString> &rates, const std::optional<qint32> &code)
{
    return code ? rates.value(*code) : QString();
}

// The bytes as UTF-8 text; nothing when they are not UTF-8.
std::optional<QString> decodedUtf8(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError())
        return std::nullopt;
    return text;
}

// Reading back: what went wrong where. Records are counted as the file's lines are, and
// a message names the line a record starts on.
class TRecordReader
{
public:
    TRecordReader(const QByteArray &bytes, const QString &fileName) : fFileName(fileName)
    {
        QByteArray text = bytes;
        if (text.startsWith("\xFF\xFE") || text.startsWith("\xFE\xFF"))
            fail(1, QStringLiteral("the file is in UTF-16, not in UTF-8 (was it saved again in another encoding?)"));
        if (text.startsWith("\xEF\xBB\xBF"))
            text.remove(0, 3);
        const std::optional<QString> decoded = decodedUtf8(text);
        if (!decoded) {
            const QList<QByteArray> lines = text.split('\n');
            int line = 1;
            while (line < lines.size() && decodedUtf8(lines[line - 1]))
                ++line;
            failAtLine(line, QStringLiteral("the text is not UTF-8 (was it saved again in another encoding?)"));
        }
        fRecords = csvRecords(*decoded);
    }

    TChangeRecord read()
    {
        TChangeRecord record;
        if (fields(1).value(0) != kTitle)
            fail(1, QStringLiteral("it does not begin with \"%1\"").arg(kTitle));
        record.database = headerValue(2);
        record.siteID = integer(3, headerValue(3), QStringLiteral("site number"));
        record.time = QDateTime::fromString(headerValue(4), kTimeFormat);
        if (!record.time.isValid())
            fail(4, QStringLiteral("\"%1\" is not a time of the form 2023-09-01 08:30:00").arg(headerValue(4)));
        record.program = headerValue(5);
        record.madeBy = headerValue(6);
        const qint32 count = integer(7, headerValue(7), QStringLiteral("number of rows"));
        int line = 8;
        record.outcomeUnknown = fields(line).value(0) == kOutcomeKey;
        if (record.outcomeUnknown) {
            if (headerValue(line, kOutcomeKey) != kUnknownOutcome)
                fail(line, QStringLiteral("\"%1,%2\" was expected").arg(kOutcomeKey, kUnknownOutcome));
            ++line;
        }
        const bool exact = fields(line).value(0) == kTextsKey;
        if (exact) {
            if (headerValue(line, kTextsKey) != kExactTexts)
                fail(line, QStringLiteral("\"%1,%2\" was expected").arg(kTextsKey, kExactTexts));
            ++line;
            record.database = unguardedText(record.database);
            record.program = unguardedText(record.program);
            record.madeBy = unguardedText(record.madeBy);
        }
        record.sealed = fields(line).value(0) == kDigestKey;
        const int digestLine = line;
        const QString digest = record.sealed ? headerValue(line++, kDigestKey) : QString();
        if (fields(line) != QStringList())
            fail(line, QStringLiteral("a blank line must follow the header block"));
        if (fields(++line) != kColumns)
            fail(line, QStringLiteral("the column titles are not \"%1\"").arg(kColumns.join(QLatin1Char(','))));
        QString rowsSection;
        while (++line <= fRecords.size()) {
            QStringList f = rowFields(line);
            if (exact) {
                for (QString &field : f)
                    field = unguardedText(field);
                rowsSection += csvLine(f);
            } else {
                rowsSection += olderCsvLine(f);
            }
            record.rows << row(line, f, !exact);
        }
        if (record.rows.size() != count)
            fail(fRecords.size(),
                 QStringLiteral("the record names %1 rows but holds %2: it is incomplete or was edited")
                     .arg(count)
                     .arg(record.rows.size()));
        if (record.sealed && digest.compare(rowsDigest(rowsSection), Qt::CaseInsensitive) != 0)
            fail(digestLine,
                 QStringLiteral("its rows do not match their digest: the record was changed after it "
                                "was written"));
        return record;
    }

private:
    // record: the record's number, one past the last for where the file ends.
    [[noreturn]] void fail(int record, const QString &what) const
    {
        if (record <= fRecords.size())
            failAtLine(fRecords[record - 1].line, what);
        const int lastLine = fRecords.isEmpty() ? 0 : fRecords.last().lastLine;
        failAtLine(lastLine + record - int(fRecords.size()), what);
    }

    [[noreturn]] void failAtLine(int line, const QString &what) const
    {
        throw EPosError(
            QStringLiteral("The change record \"%1\" cannot be used: line %2: %3.").arg(fFileName).arg(line).arg(what));
    }

    // The record's fields as they stand.
    QStringList rawFields(int record) const
    {
        if (record > fRecords.size())
            fail(record, QStringLiteral("the file ends here: it is incomplete"));
        const TCsvRecord &r = fRecords[record - 1];
        if (!r.closed)
            fail(record, QStringLiteral("a quoted field is not closed"));
        return r.fields;
    }

    // The line's fields, trailing empty ones dropped (a spreadsheet saving the file
    // again pads every line to the widest).
    QStringList fields(int line) const
    {
        QStringList result = rawFields(line);
        while (!result.isEmpty() && result.last().isEmpty())
            result.removeLast();
        return result;
    }

    // A row's fields, one for each column: every row is written with all of them, and
    // a spreadsheet only adds empty ones.
    QStringList rowFields(int line) const
    {
        QStringList f = rawFields(line);
        const qsizetype written = f.size();
        while (f.size() > kColumns.size() && f.last().isEmpty())
            f.removeLast();
        if (f.size() != kColumns.size())
            fail(line, QStringLiteral("it has %1 fields, not %2").arg(written).arg(kColumns.size()));
        return f;
    }

    QString headerValue(int line) const { return headerValue(line, kHeaderKeys[line - 2]); }

    QString headerValue(int line, const QString &key) const
    {
        const QStringList f = fields(line);
        if (f.value(0) != key || f.size() > 2)
            fail(line, QStringLiteral("\"%1,<value>\" was expected").arg(key));
        return f.value(1);
    }

    qint32 integer(int line, const QString &text, const QString &what) const
    {
        bool ok = false;
        const qint32 value = text.toInt(&ok);
        if (!ok)
            fail(line, QStringLiteral("\"%1\" is not a %2").arg(text, what));
        return value;
    }

    std::optional<qint32> code(int line, const QString &text, const QString &what) const
    {
        if (text.isEmpty())
            return std::nullopt;
        return integer(line, text, what);
    }

    // folded: the record is one that wrote line breaks as spaces.
    TChangedRow row(int line, const QStringList &f, bool folded) const
    {
        TChangedRow row;
        row.descriptionFolded = folded;
        const QString table = f.value(0);
        bool known = false;
        for (TChangedTable t : {TChangedTable::Department, TChangedTable::SubDepartment, TChangedTable::ThirdLevel,
                                TChangedTable::Product}) {
            if (table == changedTableName(t)) {
                row.table = t;
                known = true;
            }
        }
        if (!known)
            fail(line,
                 QStringLiteral("\"%1\" is not a table of the record (Department, Sub-department, "
                                "Third-level department, Product)")
                     .arg(table));
        row.id = integer(line, f.value(1), QStringLiteral("row id"));
        row.description = f.value(2);
        row.oldSales = code(line, f.value(3), QStringLiteral("sales code"));
        row.oldPurchase = code(line, f.value(5), QStringLiteral("purchase code"));
        row.newSales = code(line, f.value(6), QStringLiteral("sales code"));
        row.newPurchase = code(line, f.value(8), QStringLiteral("purchase code"));
        if (row.table == TChangedTable::Product && (row.oldPurchase || row.newPurchase))
            fail(line, QStringLiteral("a product has no purchase code"));
        return row;
    }

    QString fFileName;
    QList<TCsvRecord> fRecords;
};

} // namespace

QString changedTableName(TChangedTable table)
{
    switch (table) {
    case TChangedTable::Department:
        return QStringLiteral("Department");
    case TChangedTable::SubDepartment:
        return QStringLiteral("Sub-department");
    case TChangedTable::ThirdLevel:
        return QStringLiteral("Third-level department");
    case TChangedTable::Product:
        break;
    }
    return QStringLiteral("Product");
}

bool holdsRecordedDescription(const TChangedRow &recorded, const QString &description)
{
    return (recorded.descriptionFolded ? olderRecordText(description) : description) == recorded.description;
}

QString changeRecordPath(const QString &backupFile)
{
    return backupFile + QStringLiteral(".changes.csv");
}

QByteArray changeRecordBytes(const TChangeRecord &record)
{
    QString text = csvLine({kTitle});
    const QStringList values = {
        record.database, QString::number(record.siteID),     record.time.toString(kTimeFormat), record.program,
        record.madeBy,   QString::number(record.rows.size())};
    for (int i = 0; i < kHeaderKeys.size(); ++i)
        text += csvLine({kHeaderKeys[i], values[i]});
    if (record.outcomeUnknown)
        text += csvLine({kOutcomeKey, kUnknownOutcome});
    QString rowsSection;
    for (const TChangedRow &row : record.rows) {
        rowsSection +=
            csvLine({changedTableName(row.table), QString::number(row.id), row.description, codeText(row.oldSales),
                     rateText(record.rates, row.oldSales), codeText(row.oldPurchase), codeText(row.newSales),
                     rateText(record.rates, row.newSales), codeText(row.newPurchase)});
    }
    text += csvLine({kTextsKey, kExactTexts});
    text += csvLine({kDigestKey, rowsDigest(rowsSection)}) + kCrLf + csvLine(kColumns) + rowsSection;
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

TChangeRecord parseChangeRecord(const QByteArray &bytes, const QString &fileName)
{
    return TRecordReader(bytes, fileName).read();
}

void writeChangeRecord(const QString &path, const TChangeRecord &record)
{
    const QByteArray bytes = changeRecordBytes(record);
    QFile file(path + QStringLiteral(".tmp"));
    bool created = false;
    try {
        // Checked first for the plain reason; the rename below still refuses a name taken since.
        if (!IsNameFree(path))
            throw EPosError(NameTakenReason());
        created = file.open(QIODevice::WriteOnly | QIODevice::NewOnly);
        if (!created)
            throw EPosError(file.errorString());
        // A write the disk refuses may show only once the buffer goes, or at the sync.
        if (file.write(bytes) != bytes.size())
            throw EPosError(file.errorString());
        SyncToDisk(file);
        file.close();
        const qint64 held = QFileInfo(file.fileName()).size();
        if (held != bytes.size())
            throw EPosError(QStringLiteral("%1 bytes were written, but the file holds %2").arg(bytes.size()).arg(held));
        RenameToFreeName(file.fileName(), path);
    } catch (const EPosError &e) {
        // Closed first: QFile::remove keeps a file whose close failed, as on a full disk.
        file.close();
        if (created)
            QFile::remove(file.fileName());
        throw EPosError(QStringLiteral("The change record \"%1\" could not be written: %2").arg(path, e.message()));
    }
}

TChangeRecord readChangeRecord(const QString &path)
{
    if (!QFileInfo(path).exists())
        throw EPosError(QStringLiteral("The change record \"%1\" does not exist.").arg(path));
    QFile file;
    QByteArray bytes;
    try {
        OpenRegularFile(file, path);
        // Checked again on what is read, so that a file that grows meanwhile is not read without end.
        if (file.size() <= kMaxRecordBytes)
            bytes = file.read(kMaxRecordBytes + 1);
        if (file.error() != QFileDevice::NoError)
            throw EPosError(file.errorString());
        if (file.size() > kMaxRecordBytes || bytes.size() > kMaxRecordBytes)
            throw EPosError(QStringLiteral("it holds %1 bytes, more than the 64 MB a change record may hold")
                                .arg(qMax(file.size(), qint64(bytes.size()))));
    } catch (const EPosError &e) {
        throw EPosError(QStringLiteral("The change record \"%1\" could not be read: %2").arg(path, e.message()));
    }
    const TChangeRecord record = parseChangeRecord(bytes, path);
    const QDateTime written = file.fileTime(QFileDevice::FileModificationTime);
    if (!record.sealed && qAbs(record.time.secsTo(written)) > kUnsealedWriteSeconds)
        throw EPosError(QStringLiteral("The change record \"%1\" cannot be used: it has no digest of its rows, and the "
                                       "file was written at %2, not when the record was made (%3): the record was "
                                       "changed after it was written.")
                            .arg(path, written.toString(kTimeFormat), record.time.toString(kTimeFormat)));
    return record;
}

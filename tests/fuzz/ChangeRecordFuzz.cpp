// The change record that --revert reads, as a spreadsheet may have left it. A record
// that reads must write again; what is written must read back as exactly the record
// (every text as it was read, line breaks included) and write as the same bytes, and no
// field of it may open as a spreadsheet formula. Anything else aborts.
#include "catalogue/changeover/ChangeRecord.h"
#include "util/Errors.h"

#include <QStringList>
#include <cstdlib>

namespace {

// What a spreadsheet would run: a field opening with one of these that is not a number.
bool opensAsFormula(const QString &field)
{
    bool number = false;
    field.toLongLong(&number);
    return !field.isEmpty() && QStringLiteral("=+-@\t\r").contains(field.front()) && !number;
}

// Every field of the CSV text as a spreadsheet takes it: quotes undone, a line break
// inside them kept.
QStringList csvFields(const QString &text)
{
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted && c == QLatin1Char('"') && text.mid(i + 1, 1) == QLatin1String("\"")) {
            field += c;
            ++i;
        } else if (c == QLatin1Char('"')) {
            quoted = !quoted;
        } else if (!quoted && (c == QLatin1Char(',') || c == QLatin1Char('\n'))) {
            fields << field;
            field.clear();
        } else if (quoted || c != QLatin1Char('\r')) {
            field += c;
        }
    }
    return fields << field;
}

// The rows alike but for where they were read from: a record written now is exact
// whatever record its rows came from.
bool sameRows(const QList<TChangedRow> &read, const QList<TChangedRow> &again)
{
    if (read.size() != again.size())
        return false;
    for (qsizetype i = 0; i < read.size(); ++i) {
        TChangedRow kept = read[i];
        kept.descriptionFolded = false;
        if (!(kept == again[i]))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    TChangeRecord read;
    try {
        read = parseChangeRecord(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)),
                                 QStringLiteral("fuzz.changes.csv"));
    } catch (const EPosError &) {
        return 0; // refused with the line and the reason
    }
    const QByteArray written = changeRecordBytes(read);
    TChangeRecord again;
    try {
        again = parseChangeRecord(written, QStringLiteral("written.changes.csv"));
    } catch (const EPosError &) {
        std::abort(); // a record of ours that we refuse to read
    }
    const bool same = again.database == read.database && again.siteID == read.siteID && again.time == read.time
        && again.program == read.program && again.madeBy == read.madeBy && again.sealed
        && sameRows(read.rows, again.rows);
    bool noFormula = true;
    for (const QString &field : csvFields(QString::fromUtf8(written)))
        noFormula = noFormula && !opensAsFormula(field);
    if (!same || !noFormula || changeRecordBytes(again) != written)
        std::abort();
    return 0;
}

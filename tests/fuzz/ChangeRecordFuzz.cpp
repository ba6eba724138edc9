// The change record that --revert reads, as a spreadsheet may have left it. A record
// that reads must write again; what is written must read back as the record (its texts
// as recordedText keeps them) and write as the same bytes, and no text in it may open as
// a spreadsheet formula. Anything else aborts.
#include "catalogue/changeover/ChangeRecord.h"
#include "util/Errors.h"

#include <cstdlib>

namespace {

// What a spreadsheet would run: a text opening with one of these that is not a number.
bool opensAsFormula(const QString &text)
{
    bool number = false;
    text.toLongLong(&number);
    return !text.isEmpty() && QStringLiteral("=+-@\t").contains(text.front()) && !number;
}

bool sameRows(const QList<TChangedRow> &read, const QList<TChangedRow> &again)
{
    if (read.size() != again.size())
        return false;
    for (qsizetype i = 0; i < read.size(); ++i) {
        TChangedRow kept = read[i];
        kept.description = recordedText(kept.description);
        if (!(kept == again[i]) || opensAsFormula(again[i].description))
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
    const bool same = again.database == recordedText(read.database) && again.siteID == read.siteID
        && again.time == read.time && again.program == recordedText(read.program)
        && again.madeBy == recordedText(read.madeBy) && again.sealed && sameRows(read.rows, again.rows);
    const bool noFormula =
        !opensAsFormula(again.database) && !opensAsFormula(again.program) && !opensAsFormula(again.madeBy);
    if (!same || !noFormula || changeRecordBytes(again) != written)
        std::abort();
    return 0;
}

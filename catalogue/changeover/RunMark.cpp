#include "catalogue/changeover/RunMark.h"

#include "catalogue/changeover/DepartmentTrigger.h"
#include "database/DbConnection.h"
#include "database/DbStatement.h"
#include "database/RollBackOrLetGo.h"

#include <functional>

namespace {

// Each look needs a transaction of its own: the monitoring tables hold still for as long
// as one lasts.
void inOwnTransaction(TDbConnection &conx, const std::function<void()> &work)
{
    if (conx.inTransaction())
        conx.commit();
    conx.startTransaction();
    try {
        work();
        conx.commit();
    } catch (...) {
        rollBackOrLetGo(conx);
        throw;
    }
}

// Set by this program alone; the value names the run, for whoever reads the monitoring
// tables by hand. An empty run clears the mark.
void setMark(TDbConnection &conx, const QString &run)
{
    inOwnTransaction(conx, [&] {
        TDbStatement mark(conx);
        mark.setSQL(QStringLiteral("select rdb$set_context('USER_SESSION', 'PORDANE_RUN', :RUN) from RDB$DATABASE"));
        if (run.isEmpty())
            mark.setNull(0);
        else
            mark.setText(0, run);
        mark.open();
        mark.close();
    });
}

// An attachment through the network names its host; one of the embedded engine is on
// this PC.
QString hostOf(const TDbStatement &query)
{
    const QString host = query.field(0).asTrimmedText();
    if (!host.isEmpty())
        return host;
    const QString address = query.field(1).asTrimmedText().section(QLatin1Char('/'), 0, 0);
    return address.isEmpty() ? QStringLiteral("this PC") : address;
}

} // namespace

std::optional<TOtherRun> otherRunNow(TDbConnection &conx)
{
    std::optional<TOtherRun> other;
    inOwnTransaction(conx, [&] {
        TDbStatement query(conx);
        query.setSQL("select first 1 A.MON$REMOTE_HOST, A.MON$REMOTE_ADDRESS, A.MON$REMOTE_PROCESS"
                     " from MON$CONTEXT_VARIABLES V"
                     " join MON$ATTACHMENTS A on A.MON$ATTACHMENT_ID = V.MON$ATTACHMENT_ID"
                     " where V.MON$VARIABLE_NAME = 'PORDANE_RUN' and V.MON$ATTACHMENT_ID <> current_connection"
                     " order by A.MON$ATTACHMENT_ID");
        query.open();
        if (!query.eof())
            other = TOtherRun{hostOf(query), query.field(2).asTrimmedText()};
        query.close();
    });
    return other;
}

QString beingChangedText(const TDbConnection &conx, const TOtherRun &other)
{
    return QStringLiteral("The database \"%1\" is being changed from %2 (%3) now")
        .arg(conx.database(), other.host, other.program);
}

QString otherRunRefusal(const TDbConnection &conx, const TOtherRun &other)
{
    return QStringLiteral("Nothing was backed up and no VAT code was changed. ") + beingChangedText(conx, other)
        + QStringLiteral("; try again once that run has ended.");
}

TRunMark::TRunMark(TDbConnection &conx, const QString &run) : fConx(conx)
{
    setMark(fConx, run);
    try {
        fOther = otherRunNow(fConx);
    } catch (...) {
        release();
        throw;
    }
    if (fOther)
        release();
}

void TRunMark::release() noexcept
{
    if (!fHeld)
        return;
    fHeld = false;
    if (!fConx.isOpen())
        return;
    try {
        setMark(fConx, QString());
    } catch (const std::exception &) {
    }
}

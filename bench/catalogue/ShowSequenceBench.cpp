// Times the show sequence's data work on a large site (the VAT codes resolved, every row
// the window shows read by loadShowData, the selection seeded by seedSelection) beside one
// join query that reads the same rows: embedded, then through the loopback server behind
// a relay that holds every chunk 0, 1 and 10 ms each way, as a database on another
// machine would. Through the relay it also counts the statements run and the requests
// the client sent, which must not grow with the site. The window's whole first showing
// is timed embedded; the process's peak memory is printed last.
//
// Run through bench/catalogue/run.sh, which makes the site and its registry hives and
// starts the server when it is not running.
#include "bench/catalogue/RelayedDatabase.h"
#include "bench/catalogue/TargetLine.h"
#include "catalogue/core/Selection.h"
#include "catalogue/data/ShowData.h"
#include "catalogue/data/VatCodes.h"
#include "catalogue/window/TfmMain.h"
#include "database/DbConnection.h"
#include "database/DbStatement.h"
#include "log/uLog.h"
#include "settings/uOrvoReg.h"
#include "util/Errors.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <sys/resource.h>

namespace {

constexpr int kRounds = 3;
constexpr double kMostTimesTheJoin = 3.0;
constexpr qint64 kMostStatements = 50;
constexpr double kMostMegabytes = 400.0;

// Wall time and this process's CPU time: embedded, the engine works inside the process,
// so CPU time still compares when the machine is busy.
class TStopwatch
{
public:
    TStopwatch()
    {
        fWall.start();
        fCpu = cpuNow();
    }
    double wallMs() const { return fWall.nsecsElapsed() / 1e6; }
    double cpuMs() const { return (cpuNow() - fCpu) * 1e3; }

private:
    static double cpuNow()
    {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return t.tv_sec + t.tv_nsec / 1e9;
    }
    QElapsedTimer fWall;
    double fCpu;
};

// One timed piece of work on a connection of its own.
struct TRun
{
    double wallMs = 0;
    double cpuMs = 0;
    qint64 statements = 0; // run on the connection
    qint64 requests = 0;   // chunks the client sent to the relay
    QString shape;         // what was read
};

struct TJoinRow
{
    qint32 sid, deptId, subId, l3Id;
    QString product, department, subDepartment, thirdLevel;
};

const QString kJoin = QStringLiteral("select p.SID, p.DESCRIPTION, p.DEPT_ID, p.SUB_DEPT, p.L3DID,\r\n"
                                     "   d.DESCRIPTION as D1, s.DESCRIPTION as D2, t.DESCRIPTION as D3\r\n"
                                     "  from TBL_PRODUCTS p\r\n"
                                     // "+ 0" keeps the optimizer from walking every department through the product
                                     // indexes: the baseline is the fastest plain read of these rows.
                                     "  join TBL_DEPARTMENTS d on d.DEPT_ID = p.DEPT_ID + 0\r\n"
                                     "  left join TBL_SUB_DEPARTMENTS s on s.SUB_DEPT = p.SUB_DEPT\r\n"
                                     "  left join TBL_L3DEPARTMENTS t on t.L3DID = p.L3DID\r\n"
                                     " where p.VAT_ID = :VID");

using TWork = std::function<QString(TDbConnection &, TDbStatement &)>;

// Attaches outside the clock, as the window has by the time it reads; times the work up
// to its commit.
TRun timeOnConnection(const QString &database, TLoopbackRelay *relay, const TWork &work)
{
    TDbConnection conx;
    conx.setDatabase(database);
    conx.open();
    TDbStatement q(conx);
    const qint64 statementsBefore = conx.statementsRun();
    if (relay)
        relay->resetCount();
    TStopwatch watch;
    TRun run;
    run.shape = work(conx, q);
    conx.commit();
    run.wallMs = watch.wallMs();
    run.cpuMs = watch.cpuMs();
    run.statements = conx.statementsRun() - statementsBefore;
    run.requests = relay ? relay->requests() : 0;
    return run;
}

QString readJoin(TDbStatement &q, qint32 oldVID)
{
    q.setSQL(kJoin);
    q.setInt(0, oldVID);
    QList<TJoinRow> read;
    for (q.open(); !q.eof(); q.next())
        read.append({q.field(QStringLiteral("SID")).asInteger(), q.field(QStringLiteral("DEPT_ID")).asInteger(),
                     q.field(QStringLiteral("SUB_DEPT")).asInteger(), q.field(QStringLiteral("L3DID")).asInteger(),
                     q.field(QStringLiteral("DESCRIPTION")).asText(), q.field(QStringLiteral("D1")).asText(),
                     q.field(QStringLiteral("D2")).asText(), q.field(QStringLiteral("D3")).asText()});
    q.close();
    return QStringLiteral("%1 rows").arg(read.size());
}

QString showSequence(TDbConnection &conx, TDbStatement &q1)
{
    const TShowData data = loadShowData(conx, q1);
    TSelection selection;
    seedSelection(selection, data.nodes);
    qint64 listed = 0;
    for (int node = 0; node < selection.nodeCount(); ++node)
        listed += selection.productsOf(node).size();
    return QStringLiteral("%1 nodes, %2 listed products").arg(data.nodes.size()).arg(listed);
}

// The median of each figure on its own; the shapes are the same in every run.
TRun median(const QList<TRun> &runs)
{
    const auto middle = [&runs](auto figure) {
        QList<double> values;
        for (const TRun &run : runs)
            values << double(figure(run));
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    TRun result;
    result.wallMs = middle([](const TRun &r) { return r.wallMs; });
    result.cpuMs = middle([](const TRun &r) { return r.cpuMs; });
    result.statements = qint64(middle([](const TRun &r) { return r.statements; }));
    result.requests = qint64(middle([](const TRun &r) { return r.requests; }));
    result.shape = runs.last().shape;
    return result;
}

void printRun(const char *what, const TRun &run, bool relayed)
{
    // Through the relay the CPU time is mostly the relay's and the server's is not seen.
    const QString cpu = relayed ? QString() : QStringLiteral(", %1 ms CPU").arg(run.cpuMs, 0, 'f', 1);
    const QString requests = relayed ? QStringLiteral(", requests: %1").arg(run.requests) : QString();
    std::printf("  %-34s %8.1f ms wall%s; %s; statements: %lld%s\n", what, run.wallMs, qPrintable(cpu),
                qPrintable(run.shape), run.statements, qPrintable(requests));
}

// The join read and the show sequence in turns, after one of each to warm the caches.
// Returns the join read's median wall time.
double compare(const char *heading, const QString &database, TLoopbackRelay *relay, qint32 oldVID)
{
    const TWork join = [oldVID](TDbConnection &, TDbStatement &q) { return readJoin(q, oldVID); };
    timeOnConnection(database, relay, join);
    timeOnConnection(database, relay, showSequence);
    QList<TRun> joins, shows;
    for (int i = 0; i < kRounds; ++i) {
        joins << timeOnConnection(database, relay, join);
        shows << timeOnConnection(database, relay, showSequence);
    }
    const TRun joined = median(joins);
    const TRun shown = median(shows);
    std::printf("%s (medians of %d):\n", heading, kRounds);
    printRun("one join read", joined, relay != nullptr);
    printRun("show sequence (load, seed)", shown, relay != nullptr);
    printRatioTarget(QStringLiteral("show sequence / join read"), shown.wallMs, joined.wallMs, kMostTimesTheJoin,
                     QStringLiteral(" wall"));
    if (relay)
        printTargetLine(QStringLiteral("statements of the show sequence"), QString::number(shown.statements),
                        QStringLiteral("%1 or less").arg(kMostStatements), shown.statements <= kMostStatements);
    return joined.wallMs;
}

// The window's first showing runs the show sequence and builds the tree and the selection.
void timeWindow(double joinWallMs)
{
    QList<double> walls;
    QString shape;
    for (int i = 0; i < kRounds; ++i) {
        TfmMain window;
        TStopwatch watch;
        window.show();
        walls << watch.wallMs();
        int nodes = 0;
        for (QTreeWidgetItemIterator it(window.departmentTree()); *it; ++it)
            ++nodes;
        qint64 listed = 0;
        for (int node = 0; node < window.selection().nodeCount(); ++node)
            listed += window.selection().productsOf(node).size();
        shape = QStringLiteral("%1 nodes, %2 listed products").arg(nodes).arg(listed);
    }
    std::sort(walls.begin(), walls.end());
    std::printf("  %-34s %8.1f ms wall; %s; %.2fx the join read (median of %d)\n", "window's first showing",
                walls[kRounds / 2], qPrintable(shape), walls[kRounds / 2] / joinWallMs, kRounds);
}

qint32 oldCode(const QString &file)
{
    TDbConnection conx;
    conx.setDatabase(file);
    conx.open();
    TDbStatement q(conx);
    // The large site has a single old code.
    const qint32 oldVID = resolveVatCodes(conx, q).oldVIDs.value(0);
    conx.commit();
    return oldVID;
}

// Kept open beside the timed connections, as a site's other tills keep the database
// open: otherwise each timed connection would be the last and close it, cache and all.
void openKeeper(TDbConnection &keeper, const QString &database)
{
    keeper.setDatabase(database);
    keeper.open();
}

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

void run(const QString &file)
{
    // Resolving once first also adds the new code where it is missing, so that no timed
    // run differs by doing that.
    const qint32 oldVID = oldCode(file);
    std::printf("database: %s, old code %d\n", qPrintable(file), oldVID);
    {
        TDbConnection keeper;
        openKeeper(keeper, file);
        const double joinWallMs = compare("embedded", file, nullptr, oldVID);
        timeWindow(joinWallMs);
    }
    for (const int delayMs : {0, 1, 10}) {
        TLoopbackRelay relay(std::chrono::milliseconds(delayMs), kServerPort);
        relay.start();
        TDbConnection keeper;
        openKeeper(keeper, QStringLiteral("127.0.0.1:") + file);
        const QByteArray heading =
            QStringLiteral("through the server, relay holding each chunk %1 ms each way").arg(delayMs).toUtf8();
        compare(heading.constData(), relayedDatabase(relay, file), &relay, oldVID);
    }
    const double peak = peakMegabytes();
    std::printf("whole run:\n");
    printTargetLine(QStringLiteral("peak memory"), QStringLiteral("%1 MB").arg(peak, 0, 'f', 1),
                    QStringLiteral("under %1 MB").arg(kMostMegabytes), peak < kMostMegabytes);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString folder = qEnvironmentVariable("PORDANE_REGISTRY_DIR");
    if (folder.isEmpty()) {
        std::fprintf(stderr, "PORDANE_REGISTRY_DIR must name the folder of the site's registry hives\n");
        return 2;
    }
    // As in the program: the main log runs, so every traced statement pays for its check.
    SetLogProgramFile(folder + QStringLiteral("/Pordane2023Hospitality"));
    LogModuleStart();
    int status = 0;
    try {
        // The window reaches the site's file embedded; the relayed runs name the file themselves.
        TOrvoReg reg;
        const QString file = reg.getLastUsedDBPath(false);
        reg.WriteString(QStringLiteral("Database\\List\\") + reg.GetlastUsedDB(), QStringLiteral("ServerPath"), file,
                        0);
        run(file);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "catalogue_bench: %s\n", qPrintable(errorText(e)));
        status = 1;
    }
    LogModuleStop();
    return status;
}

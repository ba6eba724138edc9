// Times the main window's show sequence on a large site, from the registry's database
// to the filled tree and seeded store, beside one join query that reads the same rows
// (every product at the old code with its departments) through the same client library.
// Prints the figures and the process's peak memory, and where the show sequence's time
// goes: its phases run one by one outside the window, and its statements run alone.
//
// Run through bench/catalogue/run.sh, which makes the site and its registry hives.
#include "DbConnection.h"
#include "DbStatement.h"
#include "DepartmentPlan.h"
#include "EntryCollector.h"
#include "ProductSeeding.h"
#include "SelectionStore.h"
#include "StatementText.h"
#include "TfmMain.h"
#include "VatCodes.h"
#include "uLog.h"
#include "uOrvoReg.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>

namespace {

// Wall time and this process's CPU time, so that figures taken on a busy machine can
// still be compared: the embedded engine works inside the process.
class TStopwatch
{
public:
    TStopwatch() { fWall.start(); fCpu = cpuNow(); }
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

struct TTiming
{
    double wall = 0;
    double cpu = 0;
};

struct TJoinRow
{
    qint32 sid, deptId, subId, l3Id;
    QString product, department, subDepartment, thirdLevel;
};

const QString kJoin = QStringLiteral(
    "select p.SID, p.DESCRIPTION, p.DEPT_ID, p.SUB_DEPT, p.L3DID,\r\n"
    "   d.DESCRIPTION as D1, s.DESCRIPTION as D2, t.DESCRIPTION as D3\r\n"
    "  from TBL_PRODUCTS p\r\n"
    // "+ 0" keeps the optimizer from walking every department through the product
    // indexes: the baseline is the fastest plain read of these rows.
    "  join TBL_DEPARTMENTS d on d.DEPT_ID = p.DEPT_ID + 0\r\n"
    "  left join TBL_SUB_DEPARTMENTS s on s.SUB_DEPT = p.SUB_DEPT\r\n"
    "  left join TBL_L3DEPARTMENTS t on t.L3DID = p.L3DID\r\n"
    " where p.VAT_ID = :VID");

// One join query over a fresh connection, every row read into memory.
TTiming timeJoinRead(const QString &database, int &rows)
{
    TDbConnection conx;
    conx.setDatabase(database);
    conx.open();
    TDbStatement q(conx);
    q.setSQL(QStringLiteral("select VAT_ID from TBL_VAT_CODES where VAT_TYPE = 5 order by IS_ACTIVE desc"));
    q.open();
    const qint32 oldVID = q.eof() ? 0 : q.field(0).asInteger();
    q.close();

    TStopwatch watch;
    q.setSQL(kJoin);
    q.setInt(0, oldVID);
    QList<TJoinRow> read;
    for (q.open(); !q.eof(); q.next())
        read.append({q.field(QStringLiteral("SID")).asInteger(), q.field(QStringLiteral("DEPT_ID")).asInteger(),
                     q.field(QStringLiteral("SUB_DEPT")).asInteger(), q.field(QStringLiteral("L3DID")).asInteger(),
                     q.field(QStringLiteral("DESCRIPTION")).asText(), q.field(QStringLiteral("D1")).asText(),
                     q.field(QStringLiteral("D2")).asText(), q.field(QStringLiteral("D3")).asText()});
    q.close();
    conx.commit();
    const TTiming timing{watch.wallMs(), watch.cpuMs()};
    rows = int(read.size());
    return timing;
}

struct TShowFigures
{
    TTiming time;
    int nodes = 0;
    int sections = 0;
    int keys = 0;
};

TShowFigures timeShowSequence()
{
    TfmMain window;
    TStopwatch watch;
    window.show();  // the first showing runs the show sequence
    TShowFigures figures;
    figures.time = {watch.wallMs(), watch.cpuMs()};
    for (QTreeWidgetItemIterator it(window.departmentTree()); *it; ++it)
        ++figures.nodes;
    const QStringList sections = window.selection().sections();
    figures.sections = int(sections.size());
    for (const QString &section : sections)
        figures.keys += int(window.selection().keys(section).size());
    return figures;
}

// The show sequence's work split up, on a connection of its own. The product queries
// run alone are the floor that nothing on the program's side can go below.
struct TPhases
{
    TTiming collect;       // entry lines: department queries, count probes, rate lookups
    TTiming lookups;       // as many rate lookups as there are lines, alone
    TTiming seed;          // one product query per node, rows written into a store
    TTiming productsAlone; // the same product queries, rows fetched but not read
    int lines = 0;
    int nodes = 0;
};

TPhases timePhases(const QString &database)
{
    TDbConnection conx;
    conx.setDatabase(database);
    conx.open();
    TDbStatement q1(conx), q2(conx);
    const TVatResolution codes = resolveVatCodes(conx, q1);
    TPhases phases;

    TStopwatch collectWatch;
    QList<TEntryLine> lines = TEntryCollector(conx, q1, q2).collect(codes.oldVID, codes.v62Plus);
    phases.collect = {collectWatch.wallMs(), collectWatch.cpuMs()};
    phases.lines = int(lines.size());

    TStopwatch lookupWatch;
    for (int i = 0; i < phases.lines; ++i)
        lookupField(q2, QStringLiteral("TBL_VAT_CODES"), QStringLiteral("VAT_ID"), codes.oldVID, QStringLiteral("RATE"));
    phases.lookups = {lookupWatch.wallMs(), lookupWatch.cpuMs()};

    sortEntryLines(lines);
    const std::vector<TPlannedNode> plan = planDepartmentTree(lines);
    phases.nodes = int(plan.size());
    TSelectionStore store;
    TStopwatch seedWatch;
    for (const TPlannedNode &node : plan)
        seedNodeProducts(q1, store, node.level, node.id, codes.oldVID);
    phases.seed = {seedWatch.wallMs(), seedWatch.cpuMs()};

    TStopwatch aloneWatch;
    for (const TPlannedNode &node : plan) {
        useStatementText(q1, productStatementText(node.level));
        q1.setInt(0, node.id);
        q1.setInt(1, codes.oldVID);
        for (q1.open(); !q1.eof(); q1.next()) {
        }
    }
    q1.close();
    phases.productsAlone = {aloneWatch.wallMs(), aloneWatch.cpuMs()};
    conx.commit();
    return phases;
}

// The median of wall times and the median of CPU times.
TTiming median(const QList<TTiming> &timings)
{
    QList<double> wall, cpu;
    for (const TTiming &t : timings) {
        wall << t.wall;
        cpu << t.cpu;
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    const int middle = int(timings.size()) / 2;
    return timings.isEmpty() ? TTiming{} : TTiming{wall[middle], cpu[middle]};
}

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
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
    // As in the program: the main log runs, so every traced lookup pays for its check.
    SetLogProgramFile(folder + QStringLiteral("/Pordane2023Hospitality"));
    LogModuleStart();

    // The site's entry reaches the file embedded, or through the loopback server.
    const bool viaServer = app.arguments().contains(QStringLiteral("--server"));
    TOrvoReg reg;
    const QString file = reg.getLastUsedDBPath(false);
    reg.WriteString(QStringLiteral("Database\\List\\") + reg.GetlastUsedDB(), QStringLiteral("ServerPath"),
                    viaServer ? QStringLiteral("127.0.0.1:") + file : file, 0);
    const QString database = reg.getLastUsedDBPath(true);
    std::printf("database: %s\n", qPrintable(database));

    int rows = 0;
    timeJoinRead(database, rows);  // warms the engine and the file cache
    QList<TTiming> reads;
    for (int i = 0; i < 3; ++i)
        reads << timeJoinRead(database, rows);
    const TTiming read = median(reads);
    std::printf("one join query, %d rows read: %.1f ms wall, %.1f ms CPU (medians of 3)\n", rows, read.wall, read.cpu);

    QList<TTiming> shows;
    TShowFigures figures;
    for (int i = 0; i < 3; ++i) {
        figures = timeShowSequence();
        shows << figures.time;
    }
    const TTiming show = median(shows);
    std::printf("show sequence to the filled tree: %.1f ms wall, %.1f ms CPU (medians of 3);"
                " %d nodes, %d sections, %d store keys\n",
                show.wall, show.cpu, figures.nodes, figures.sections, figures.keys);
    std::printf("ratio to the join read: %.1f wall, %.1f CPU (target 5 or less)\n",
                read.wall > 0 ? show.wall / read.wall : 0.0, read.cpu > 0 ? show.cpu / read.cpu : 0.0);

    QList<TPhases> runs;
    for (int i = 0; i < 3; ++i)
        runs << timePhases(database);
    const auto phase = [&runs](TTiming TPhases::*member) {
        QList<TTiming> timings;
        for (const TPhases &run : runs)
            timings << run.*member;
        return median(timings);
    };
    const auto print = [&read](const char *what, const TTiming &t) {
        std::printf("  %-62s %7.1f ms wall, %7.1f ms CPU; %4.1f wall, %4.1f CPU to the join read\n", what, t.wall,
                    t.cpu, read.wall > 0 ? t.wall / read.wall : 0.0, read.cpu > 0 ? t.cpu / read.cpu : 0.0);
    };
    std::printf("phases outside the window (medians of 3): %d entry lines, %d nodes\n", runs.last().lines,
                runs.last().nodes);
    print("entry lines: department queries, count probes, rate lookups", phase(&TPhases::collect));
    print("  of which about: the rate lookups alone, one per line", phase(&TPhases::lookups));
    print("product queries, rows written into the store", phase(&TPhases::seed));
    print("  of which: the product queries alone, rows fetched, not read", phase(&TPhases::productsAlone));
    std::printf("peak memory: %.1f MB (target under 400 MB)\n", peakMegabytes());
    LogModuleStop();
    return 0;
}

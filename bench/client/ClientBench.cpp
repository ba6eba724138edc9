// Times what the Firebird client library costs the program, the same way in every build
// (the Windows one under Wine included), against a database reached through a server:
//   round trips       500 one-row selects: the cost of a bare request and its reply, which
//                     tells the line's share (Wine's sockets included) from the rest
//   show data load    loadShowData on a connection attached outside the clock, to its commit
//   update phase      applyChangeover for the lowest-numbered products the window lists,
//                     ticked, on a fresh restore of the database each round
// Prints min, median and max wall time, the median of this process's CPU time and the
// statements run; bench/client/run.sh compares the builds.
//
//   client_bench <host:/path/database.fdb> [--rounds n] [--ticked n]
//
// Everything goes through the server, files included: the database is backed up once by
// the server's services manager and restored by it before each round, so the client
// never reads the server's disk and each round starts from the same pages whichever
// client asks. The backup and the restores stay beside the database; every restore is
// dropped after its round, the backup is left for the caller to remove (run.sh does).
#include "backup/standin/jobs/FbService.h"
#include "bench/client/ProcessCpu.h"
#include "catalogue/changeover/ChangeoverUpdate.h"
#include "catalogue/core/Selection.h"
#include "catalogue/data/ShowData.h"
#include "catalogue/data/VatCodes.h"
#include "database/DbConnection.h"
#include "database/DbStatement.h"
#include "database/FbCall.h"
#include "util/Errors.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <set>

namespace {

using namespace Firebird;

struct TArgs
{
    QString database; // host:path
    int rounds = 11;
    int ticked = 10000;
};

bool parseArgs(const QStringList &args, TArgs &out)
{
    for (int i = 1; i < args.size(); ++i) {
        const QString &arg = args[i];
        if ((arg == QLatin1String("--rounds") || arg == QLatin1String("--ticked")) && i + 1 < args.size()) {
            bool ok = false;
            const int value = args[++i].toInt(&ok);
            if (!ok || value < 1)
                return false;
            (arg == QLatin1String("--rounds") ? out.rounds : out.ticked) = value;
        } else if (out.database.isEmpty() && !arg.startsWith(QLatin1String("--"))) {
            out.database = arg;
        } else {
            return false;
        }
    }
    // A file the client would open with its own engine is not a client's work.
    return !TServiceTarget::forDatabase(out.database).host.isEmpty();
}

struct TRound
{
    double wallMs = 0;
    double cpuMs = 0;
    qint64 statements = 0;
};

struct TFigures
{
    double min = 0, median = 0, max = 0, cpuMedian = 0;
    qint64 statements = 0; // the same in every round, or the run fails
};

TFigures figuresOf(const QList<TRound> &rounds)
{
    QList<double> walls, cpus;
    for (const TRound &round : rounds) {
        walls << round.wallMs;
        cpus << round.cpuMs;
        if (round.statements != rounds.first().statements)
            throw EPosError(QStringLiteral("the rounds ran %1 and %2 statements: they did not do the same work")
                                .arg(rounds.first().statements)
                                .arg(round.statements));
    }
    std::sort(walls.begin(), walls.end());
    std::sort(cpus.begin(), cpus.end());
    return {walls.first(), walls[walls.size() / 2], walls.last(), cpus[cpus.size() / 2], rounds.first().statements};
}

// A line for people, then one per round for run.sh, which pools the rounds of several
// runs: "@round <name> <wall ms> <CPU ms> <statements>".
void printFigures(const char *name, const char *what, const QList<TRound> &rounds, const TFigures &f,
                  const QString &shape)
{
    std::printf("%s (%d rounds): min %.1f, median %.1f, max %.1f ms wall; median %.1f ms client CPU;"
                " %lld statements; %s\n",
                what, int(rounds.size()), f.min, f.median, f.max, f.cpuMedian, f.statements, qPrintable(shape));
    for (const TRound &round : rounds)
        std::printf("@round %s %.3f %.3f %lld\n", name, round.wallMs, round.cpuMs, round.statements);
    std::fflush(stdout);
}

// Attaches outside the clock, as the window is attached by the time it reads or
// Proceed is pressed.
TRound timeOnConnection(const QString &database, const std::function<void(TDbConnection &, TDbStatement &)> &work)
{
    TDbConnection conx;
    conx.setDatabase(database);
    conx.open();
    TDbStatement q1(conx);
    const qint64 before = conx.statementsRun();
    QElapsedTimer wall;
    const double cpuBefore = processCpuMs();
    wall.start();
    work(conx, q1);
    TRound round;
    round.wallMs = wall.nsecsElapsed() / 1e6;
    round.cpuMs = processCpuMs() - cpuBefore;
    round.statements = conx.statementsRun() - before;
    return round;
}

// The folder part of a path as the server names it, with its trailing separator.
QString serverFolderOf(const QString &path)
{
    const int cut = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.left(cut + 1);
}

// Drops a database through the server; false when it cannot be attached (not there).
bool dropDatabase(const QString &connectionString)
{
    try {
        DropDatabase(connectionString);
        return true;
    } catch (const EPosError &) {
        return false;
    }
}

// The show data as the window reads it, its selection ready for ticking.
struct TShown
{
    TVatResolution codes;
    TSelection selection;
    qint64 productRows = 0; // over every node
};

TShown readShown(const QString &database)
{
    TDbConnection conx;
    conx.setDatabase(database);
    conx.open();
    TDbStatement q1(conx);
    const TShowData data = loadShowData(conx, q1);
    conx.commit();
    TShown shown;
    shown.codes = data.codes;
    seedSelection(shown.selection, data.nodes);
    for (const TShowNode &node : data.nodes)
        shown.productRows += node.products.size();
    return shown;
}

TFigures timeShowLoad(const QString &database, int rounds, const TShown &shown)
{
    // Kept open beside the timed connections, as a site's other tills keep the database
    // open: otherwise each timed connection would be the last and close it, cache and all.
    TDbConnection keeper;
    keeper.setDatabase(database);
    keeper.open();
    QString shape;
    const auto load = [&shape](TDbConnection &conx, TDbStatement &q1) {
        const TShowData data = loadShowData(conx, q1);
        conx.commit();
        qint64 rows = 0;
        for (const TShowNode &node : data.nodes)
            rows += node.products.size();
        shape = QStringLiteral("%1 nodes, %2 product rows").arg(data.nodes.size()).arg(rows);
    };
    timeOnConnection(database, load); // warms the server's cache and the client
    QList<TRound> timed;
    for (int i = 0; i < rounds; ++i)
        timed << timeOnConnection(database, load);
    if (shape != QStringLiteral("%1 nodes, %2 product rows").arg(shown.selection.nodeCount()).arg(shown.productRows))
        throw EPosError("the show data load read other rows than before: " + shape);
    const TFigures figures = figuresOf(timed);
    printFigures("show-load", "show data load", timed, figures, shape);
    return figures;
}

// Not a piece of the program's work: the cost of one request and its reply on each side,
// which tells the line's share (Wine's sockets included) from the client's own work.
TFigures timeRoundTrips(const QString &database, int rounds)
{
    constexpr int kTrips = 500;
    const auto trips = [](TDbConnection &conx, TDbStatement &q1) {
        q1.setSQL("select 1 from rdb$database");
        for (int i = 0; i < kTrips; ++i) {
            q1.open();
            if (q1.eof())
                throw EPosError(QStringLiteral("rdb$database gave no row"));
            q1.close();
        }
        conx.commit();
    };
    timeOnConnection(database, trips);
    QList<TRound> timed;
    for (int i = 0; i < rounds; ++i)
        timed << timeOnConnection(database, trips);
    const TFigures figures = figuresOf(timed);
    printFigures("round-trips", "round trips", timed, figures,
                 QStringLiteral("%1 single-row selects, %2 us each at the median")
                     .arg(kTrips)
                     .arg(figures.median * 1000 / kTrips, 0, 'f', 1));
    return figures;
}

// Ticks the lowest-numbered products the window lists, under every node that lists
// them, as a tick in the product list does. Gives how many products are ticked.
int tickLowest(TSelection &selection, int count)
{
    std::set<qint32> listed;
    for (int product = 0; product < selection.productCount(); ++product)
        listed.insert(selection.product(product).sid);
    if (listed.empty())
        throw EPosError(QStringLiteral("the database lists no product at the old code"));
    const qint32 highest = *std::next(listed.begin(), std::min<int>(count, int(listed.size())) - 1);
    std::set<qint32> ticked;
    for (int product = 0; product < selection.productCount(); ++product)
        if (selection.product(product).sid <= highest) {
            selection.setTicked(product, true);
            ticked.insert(selection.product(product).sid);
        }
    return int(ticked.size());
}

TFigures timeUpdatePhase(const QString &database, int rounds, int count, const TShown &shown)
{
    const TServiceTarget master = TServiceTarget::forDatabase(database);
    const QString folder = serverFolderOf(master.databasePath);
    const QString tag = QString::number(QCoreApplication::applicationPid());
    const QString backup = folder + QStringLiteral("client-bench-%1.fbk").arg(tag);
    QElapsedTimer made;
    made.start();
    TFbService(master).backup(backup, [](const QString &) {});
    std::printf("backed up by the server into %s in %.1f s\n", qPrintable(backup), made.elapsed() / 1000.0);

    TSelection selection = shown.selection;
    const int ticked = tickLowest(selection, count);
    QList<TRound> timed;
    double restoreSeconds = 0;
    // The first round warms the client and the server's code paths and is not counted.
    for (int i = 0; i <= rounds; ++i) {
        const QString copy = folder + QStringLiteral("client-bench-%1-%2.fdb").arg(tag).arg(i);
        const QString reach = master.withPath(copy).connectionString();
        dropDatabase(reach); // a leftover of an earlier run by the same id
        made.restart();
        TFbService(master).restore(backup, copy, [](const QString &) {});
        restoreSeconds += made.elapsed() / 1000.0;
        qint64 changed = 0;
        const TRound round = timeOnConnection(reach, [&](TDbConnection &conx, TDbStatement &q1) {
            const TChangeoverOutcome outcome = applyChangeover(conx, q1, selection, shown.codes.newVID);
            if (!outcome.changed)
                throw EPosError("the update phase failed: " + outcome.failure);
            changed = outcome.rows.size();
        });
        if (changed != ticked)
            throw EPosError(
                QStringLiteral("the update phase changed %1 rows for %2 ticked products").arg(changed).arg(ticked));
        if (!dropDatabase(reach))
            std::fprintf(stderr, "client_bench: could not drop %s\n", qPrintable(copy));
        if (i > 0)
            timed << round;
    }
    std::printf("restores by the server: %.1f s each on average\n", restoreSeconds / (rounds + 1));
    const TFigures figures = figuresOf(timed);
    printFigures("update-phase", "update phase", timed, figures,
                 QStringLiteral("%1 products ticked and changed, on a fresh restore each round").arg(ticked));
    return figures;
}

// How the server sees this client's connection: both builds must talk to it alike
// (protocol, encryption, compression) for their times to compare.
QString connectionTerms(const QString &database)
{
    TDbConnection conx;
    conx.setDatabase(database);
    conx.open();
    TDbStatement q(conx);
    q.setSQL("select a.MON$REMOTE_PROTOCOL, a.MON$REMOTE_VERSION, a.MON$AUTH_METHOD,"
             " rdb$get_context('SYSTEM', 'WIRE_ENCRYPTED'), rdb$get_context('SYSTEM', 'WIRE_COMPRESSED')"
             " from MON$ATTACHMENTS a where a.MON$ATTACHMENT_ID = current_connection");
    q.open();
    const QString terms = QStringLiteral("%1 %2, login %3, wire encrypted %4, compressed %5")
                              .arg(q.field(0).asTrimmedText(), q.field(1).asTrimmedText(), q.field(2).asTrimmedText(),
                                   q.field(3).asTrimmedText(), q.field(4).asTrimmedText());
    q.close();
    conx.commit();
    return terms;
}

void run(const TArgs &args)
{
    const int version = Fb::master()->getUtilInterface()->getClientVersion();
    std::printf("client library %d.%d, %s build; database %s\n", version >> 8, version & 0xff,
#ifdef _WIN32
                "Windows",
#else
                "Linux",
#endif
                qPrintable(args.database));
    std::printf("connection: %s\n", qPrintable(connectionTerms(args.database)));
    // Resolving once first also adds the new code where it is missing, so that no timed
    // round and no restore differs by doing that.
    const TShown shown = readShown(args.database);
    if (!shown.codes.hasOldCode())
        throw EPosError(kNoOldCodeText);
    std::printf("%lld nodes listing %lld product rows at the old code\n", qint64(shown.selection.nodeCount()),
                shown.productRows);
    timeRoundTrips(args.database, args.rounds);
    timeShowLoad(args.database, args.rounds, shown);
    timeUpdatePhase(args.database, args.rounds, args.ticked, shown);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    TArgs args;
    if (!parseArgs(QCoreApplication::arguments(), args)) {
        std::fprintf(stderr, "usage: client_bench <host:/path/database.fdb> [--rounds n] [--ticked n]\n");
        return 2;
    }
    try {
        run(args);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "client_bench: %s\n", qPrintable(errorText(e)));
        return 1;
    }
    return 0;
}

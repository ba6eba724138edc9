// Times the changeover's update phase (trigger off to trigger on) on a generated site
// with 10,000 and then 100,000 products ticked, beside one set-based update of the same
// rows, each on a fresh copy of the site: embedded, then through the loopback server
// behind a relay that holds every chunk 1 ms each way, as a database on another machine
// would. Counts the statements each runs: the update phase's may grow by one per chunk
// of ids, never by one per row.
//
//   changeover_bench [folder]     the site is made in the folder (default: a temporary one)
//
// The server must be listening on 127.0.0.1:3050 (bench/catalogue/run.sh starts it).
#include "bench/catalogue/RelayedDatabase.h"
#include "bench/catalogue/TargetLine.h"
#include "catalogue/changeover/ChangeoverUpdate.h"
#include "catalogue/core/Selection.h"
#include "catalogue/data/ShowData.h"
#include "database/DbConnection.h"
#include "database/DbScript.h"
#include "database/DbStatement.h"
#include "database/schema/DbSchema.h"
#include "database/tools/SiteGenerator.h"
#include "util/Errors.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <set>

namespace {

constexpr int kRounds = 3;
constexpr double kMostTimesTheSetBased = 3.0;
// The update phase may run one statement more per this many more products ticked.
constexpr int kRowsPerStatement = 500;

// The server runs as its own user: the folder and the copies must be open to it.
constexpr QFile::Permissions kOpenFolder = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
    | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
constexpr QFile::Permissions kOpenFile =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;

struct TSite
{
    QString master;
    qint32 newVID = 0;
    TSelection selection;           // every product under every node, unticked
    QMap<qint32, QString> products; // every product's description by its number
};

// Its own site rather than the show sequence's large one, where only a third of the
// products are at 9 %: here every product is, so that any number up to all can be ticked
// just as the window lists them. The selection is made as the window makes it.
TSite makeSite(const QString &folder)
{
    TSite site;
    site.master = QDir(folder).filePath("changeover-site.fdb");
    QFile::remove(site.master);
    TDbConnection conx;
    conx.setDatabase(site.master);
    conx.create();
    runSqlScript(conx, DbSchemaScript());
    TSiteOptions options;
    options.departments = 2000;
    options.products = 100000;
    options.nineShare = 1.0;
    generateSite(conx, options);

    TDbStatement q1(conx);
    q1.setSQL("select SID, DESCRIPTION from TBL_PRODUCTS");
    for (q1.open(); !q1.eof(); q1.next())
        site.products.insert(q1.field(0).asInteger(), q1.field(1).asText());
    q1.close();
    const TShowData shown = loadShowData(conx, q1);
    site.newVID = shown.codes.newVID;
    seedSelection(site.selection, shown.nodes);
    conx.commit();
    conx.close();
    return site;
}

struct TTicks
{
    int listed = 0;   // ticks over the nodes that list the products
    int unlisted = 0; // products no node lists, ticked under the first node
};

// Ticks the products with the lowest numbers under every node that lists them, as a tick
// in the product list does. The window leaves voucher departments out, so a few products
// are under no node: they are added to the first node, as no operator could, so that
// every product of the site can be ticked.
QList<qint32> tickLowest(const TSite &site, TSelection &selection, int count, TTicks &ticks)
{
    const QList<qint32> chosen = site.products.keys().mid(0, count);
    const qint32 highest = chosen.last();
    std::set<qint32> listed;
    for (int node = 0; node < selection.nodeCount(); ++node)
        for (int product : selection.productsOf(node))
            if (selection.product(product).sid <= highest) {
                selection.setTicked(product, true);
                listed.insert(selection.product(product).sid);
                ++ticks.listed;
            }
    QList<TProductRow> unlisted;
    for (qint32 sid : chosen)
        if (listed.count(sid) == 0)
            unlisted.append({sid, site.products.value(sid)});
    selection.addNode(selection.level(0), selection.id(0), unlisted);
    for (const TProductRow &row : unlisted)
        for (int product : selection.productsOf(0))
            if (selection.product(product).sid == row.sid)
                selection.setTicked(product, true);
    ticks.unlisted = int(unlisted.size());
    return chosen;
}

QString freshCopy(const TSite &site, const QString &name)
{
    const QString copy = QFileInfo(site.master).dir().filePath(name);
    QFile::remove(copy);
    if (!QFile::copy(site.master, copy) || !QFile::setPermissions(copy, kOpenFile))
        throw EPosError("cannot copy " + site.master);
    return copy;
}

qint64 productsAt(TDbConnection &conx, qint32 vid)
{
    TDbStatement q(conx);
    q.setSQL("select count(*) from TBL_PRODUCTS where VAT_ID = :VID");
    q.setInt(0, vid);
    q.open();
    const qint64 count = q.field(0).asInt64();
    q.close();
    conx.commit();
    return count;
}

void runCommitted(TDbConnection &conx, TDbStatement &q, const QString &sql)
{
    conx.startTransaction();
    q.setSQL(sql);
    q.execute();
    conx.commit();
}

// How a copy of the site is reached: embedded, or through the server behind the relay.
struct TRoute
{
    TLoopbackRelay *relay = nullptr;
    QString reach(const QString &file) const { return relay ? relayedDatabase(*relay, file) : file; }
};

struct TRound
{
    double ms = 0;
    qint64 statements = 0;
    qint64 requests = 0;
    qint64 moved = 0; // products at the new code afterwards
};

// Attaches outside the clock, as the window is attached when Proceed is pressed.
TRound timeOnCopy(const QString &copy, const TRoute &route, qint32 newVID,
                  const std::function<void(TDbConnection &)> &work)
{
    TDbConnection conx;
    conx.setDatabase(route.reach(copy));
    conx.open();
    const qint64 statementsBefore = conx.statementsRun();
    if (route.relay)
        route.relay->resetCount();
    QElapsedTimer timer;
    timer.start();
    work(conx);
    TRound round;
    round.ms = timer.nsecsElapsed() / 1e6;
    round.statements = conx.statementsRun() - statementsBefore;
    round.requests = route.relay ? route.relay->requests() : 0;
    round.moved = productsAt(conx, newVID);
    return round;
}

TRound timeUpdatePhase(const TSite &site, const TSelection &selection, const TRoute &route)
{
    return timeOnCopy(freshCopy(site, "walk.fdb"), route, site.newVID, [&](TDbConnection &conx) {
        TDbStatement q1(conx);
        const TChangeoverOutcome outcome = applyChangeover(conx, q1, selection, site.newVID);
        if (!outcome.changed)
            throw EPosError("the update phase failed: " + outcome.failure);
    });
}

// The same products moved by one statement that joins their numbers, kept in a table
// filled embedded before the copy is reached and the clock starts. The trigger is
// switched off and on as the update phase does.
TRound timeSetBased(const TSite &site, const QList<qint32> &products, const TRoute &route)
{
    const QString copy = freshCopy(site, "set.fdb");
    {
        TDbConnection conx;
        conx.setDatabase(copy);
        conx.open();
        TDbStatement q(conx);
        runCommitted(conx, q, "create table BENCH_TICKED (SID integer not null primary key)");
        conx.startTransaction();
        q.setSQL("insert into BENCH_TICKED (SID) values (:SID)");
        for (qint32 sid : products) {
            q.setInt(0, sid);
            q.execute();
        }
        conx.commit();
    }
    return timeOnCopy(copy, route, site.newVID, [&](TDbConnection &conx) {
        TDbStatement q(conx);
        runCommitted(conx, q, "alter trigger TAU_DEPT inactive");
        conx.startTransaction();
        q.setSQL("merge into TBL_PRODUCTS p using BENCH_TICKED t on p.SID = t.SID"
                 " when matched then update set p.VAT_ID = :VID");
        q.setInt(0, site.newVID);
        q.execute();
        conx.commit();
        runCommitted(conx, q, "alter trigger TAU_DEPT active");
    });
}

// The round of the median time.
TRound median(QList<TRound> rounds)
{
    std::sort(rounds.begin(), rounds.end(), [](const TRound &a, const TRound &b) { return a.ms < b.ms; });
    return rounds[rounds.size() / 2];
}

void printRound(const char *what, const TRound &round, const TRoute &route)
{
    const QString requests = route.relay ? QStringLiteral(", requests: %1").arg(round.requests) : QString();
    std::printf("    %-26s %9.1f ms; statements: %lld%s; %lld products at the new code\n", what, round.ms,
                round.statements, qPrintable(requests), round.moved);
}

// Both counts of ticked products over one route; the statements the update phase ran at each.
void runRoute(const char *heading, const TSite &site, const TRoute &route)
{
    std::printf("%s (medians of %d, each on a fresh copy):\n", heading, kRounds);
    QList<QPair<qint64, qint64>> statementsByTicked;
    for (int ticked : {10000, 100000}) {
        TSelection selection = site.selection;
        TTicks ticks;
        const QList<qint32> products = tickLowest(site, selection, ticked, ticks);
        QList<TRound> walks, sets;
        for (int round = 0; round < kRounds; ++round) {
            walks << timeUpdatePhase(site, selection, route);
            sets << timeSetBased(site, products, route);
        }
        const TRound walk = median(walks);
        const TRound set = median(sets);
        std::printf("  %lld products ticked (%d ticks over the sections that list them, %d listed nowhere):\n",
                    qint64(products.size()), ticks.listed, ticks.unlisted);
        printRound("update phase", walk, route);
        printRound("one set-based update", set, route);
        printRatioTarget(QStringLiteral("  update phase / set-based"), walk.ms, set.ms, kMostTimesTheSetBased);
        statementsByTicked.append({qint64(products.size()), walk.statements});
    }
    const auto [fewTicked, fewStatements] = statementsByTicked.first();
    const auto [manyTicked, manyStatements] = statementsByTicked.last();
    const qint64 allowed = (manyTicked - fewTicked + kRowsPerStatement - 1) / kRowsPerStatement;
    printTargetLine(QStringLiteral("statements for %1 more rows").arg(manyTicked - fewTicked),
                    QStringLiteral("%1 more (%2 at %3 ticked, %4 at %5)")
                        .arg(manyStatements - fewStatements)
                        .arg(fewStatements)
                        .arg(fewTicked)
                        .arg(manyStatements)
                        .arg(manyTicked),
                    QStringLiteral("%1 more at most, one per %2 rows").arg(allowed).arg(kRowsPerStatement),
                    manyStatements - fewStatements <= allowed);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir temporary;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();
    try {
        if (!QDir().mkpath(folder) || !QFile::setPermissions(folder, kOpenFolder))
            throw EPosError("cannot make " + folder + " open to the server");
        QElapsedTimer made;
        made.start();
        const TSite site = makeSite(folder);
        std::printf("site: %lld departments in the tree, 100000 products at 9 %%, made in %.1f s\n",
                    qint64(site.selection.nodeCount()), made.elapsed() / 1000.0);
        runRoute("embedded", site, TRoute{});
        TLoopbackRelay relay(std::chrono::milliseconds(1), kServerPort);
        relay.start();
        runRoute("through the server, relay holding each chunk 1 ms each way", site, TRoute{&relay});
    } catch (const std::exception &e) {
        std::fprintf(stderr, "changeover_bench: %s\n", qPrintable(errorText(e)));
        return 1;
    }
    return 0;
}

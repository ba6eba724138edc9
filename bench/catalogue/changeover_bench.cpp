// Times the changeover's update phase (trigger off to trigger on) on a generated site
// with 10,000 and then 100,000 products ticked, beside one set-based update of the same
// rows through the same client library, each on a fresh copy of the site.
//
//   changeover_bench [folder]     the site is made in the folder (default: a temporary one)
#include "ChangeoverUpdate.h"
#include "DbConnection.h"
#include "DbSchema.h"
#include "DbScript.h"
#include "DbStatement.h"
#include "DepartmentPlan.h"
#include "EntryCollector.h"
#include "Errors.h"
#include "ProductSeeding.h"
#include "SectionNames.h"
#include "SelectionStore.h"
#include "SiteGenerator.h"
#include "VatCodes.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <set>

namespace {

struct TSite
{
    QString master;
    qint32 oldVID = 0;
    qint32 newVID = 0;
    QList<TChangeoverNode> nodes; // display order
    TSelectionStore store;        // every product under every node, unticked
};

void addInDisplayOrder(const std::vector<TPlannedNode> &plan, int parent, int depth, QList<TChangeoverNode> &nodes)
{
    for (int i = 0; i < int(plan.size()); ++i) {
        if (plan[i].parent != parent)
            continue;
        nodes.append({plan[i].id, depth, false});
        addInDisplayOrder(plan, i, depth + 1, nodes);
    }
}

// Every product at 9 %, so that any number of them up to all can be ticked; the tree and
// the store as the window builds them.
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

    TDbStatement q1(conx), q2(conx);
    const TVatResolution codes = resolveVatCodes(conx, q1);
    site.oldVID = codes.oldVID;
    site.newVID = codes.newVID;
    QList<TEntryLine> lines = TEntryCollector(conx, q1, q2).collect(codes.oldVID, codes.v62Plus);
    sortEntryLines(lines);
    const std::vector<TPlannedNode> plan = planDepartmentTree(lines);
    for (const TPlannedNode &node : plan)
        seedNodeProducts(q1, site.store, node.level, node.id, codes.oldVID);
    addInDisplayOrder(plan, -1, 0, site.nodes);
    conx.commit();
    conx.close();
    return site;
}

// Ticks the products with the lowest numbers, in every section that lists them, as a
// tick in the product list does. Gives the products ticked and the number of ticks.
QList<qint32> tickLowest(TSelectionStore &store, int count, int &ticks)
{
    std::set<qint32> listed;
    for (const QString &section : store.sections())
        for (const QString &key : store.keys(section))
            listed.insert(productSidOfKey(key));
    const QList<qint32> chosen(listed.begin(), std::next(listed.begin(), std::min<int>(count, int(listed.size()))));
    const qint32 highest = chosen.last();
    ticks = 0;
    for (const QString &section : store.sections())
        for (const QString &key : store.keys(section))
            if (productSidOfKey(key) <= highest) {
                store.write(section, key, "Y");
                ++ticks;
            }
    return chosen;
}

QString freshCopy(const TSite &site, const QString &name)
{
    const QString copy = QFileInfo(site.master).dir().filePath(name);
    QFile::remove(copy);
    if (!QFile::copy(site.master, copy))
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

double timeWalk(const TSite &site, const TSelectionStore &store, qint64 &moved)
{
    TDbConnection conx;
    conx.setDatabase(freshCopy(site, "walk.fdb"));
    conx.open();
    TDbStatement q1(conx);
    QElapsedTimer timer;
    timer.start();
    const TChangeoverOutcome outcome = applyChangeover(conx, q1, site.nodes, store, site.newVID);
    const double ms = timer.nsecsElapsed() / 1e6;
    if (!outcome.changed)
        throw EPosError("the walk failed: " + outcome.failure);
    moved = productsAt(conx, site.newVID);
    conx.close();
    return ms;
}

// The same products moved by one statement that joins their numbers, kept in a table
// filled before the clock starts.
double timeSetBased(const TSite &site, const QList<qint32> &products, qint64 &moved)
{
    TDbConnection conx;
    conx.setDatabase(freshCopy(site, "set.fdb"));
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

    QElapsedTimer timer;
    timer.start();
    runCommitted(conx, q, "alter trigger TAU_DEPT inactive");
    conx.startTransaction();
    q.setSQL("merge into TBL_PRODUCTS p using BENCH_TICKED t on p.SID = t.SID"
             " when matched then update set p.VAT_ID = :VID");
    q.setInt(0, site.newVID);
    q.execute();
    conx.commit();
    runCommitted(conx, q, "alter trigger TAU_DEPT active");
    const double ms = timer.nsecsElapsed() / 1e6;
    moved = productsAt(conx, site.newVID);
    conx.close();
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir temporary;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();
    try {
        QElapsedTimer made;
        made.start();
        const TSite site = makeSite(folder);
        std::printf("site: %lld departments in the tree, 100000 products at 9 %%, made in %.1f s\n",
                    qint64(site.nodes.size()), made.elapsed() / 1000.0);
        for (int ticked : {10000, 100000}) {
            TSelectionStore store = site.store;
            int ticks = 0;
            const QList<qint32> products = tickLowest(store, ticked, ticks);
            qint64 walkMoved = 0, setMoved = 0;
            const double walk = timeWalk(site, store, walkMoved);
            const double set = timeSetBased(site, products, setMoved);
            std::printf("%6lld products ticked (%d ticks over the sections that list them):\n",
                        qint64(products.size()), ticks);
            std::printf("   update phase, row by row: %8.1f ms  (%lld products at the new code)\n", walk, walkMoved);
            std::printf("   one set-based update:     %8.1f ms  (%lld products at the new code)\n", set, setMoved);
            std::printf("   ratio: %.2f (target 3 or less)\n", walk / set);
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "changeover_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}

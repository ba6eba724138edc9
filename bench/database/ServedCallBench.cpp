// What serving the window's events costs the calls made on the application's thread:
// the rows of a table read one fetch a call, and a short statement run many times, each
// timed on the application's thread (every call handed to the database thread) and on a
// thread of its own (every call in place), on the embedded engine, where a call is
// cheapest and the hand-over weighs most.
//
//   build/bench/database/served_call_bench [rows]
#include "database/DbConnection.h"
#include "database/DbStatement.h"
#include "database/testing/TestDatabase.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

constexpr int kRounds = 5;
constexpr int kStatements = 2000;

// Milliseconds of the work's fastest round.
template <class Work>
double fastest(Work &&work)
{
    std::vector<double> times;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    return *std::min_element(times.begin(), times.end());
}

template <class Work>
double fastestElsewhere(Work &&work)
{
    double result = 0;
    std::thread elsewhere([&] { result = fastest(work); });
    elsewhere.join();
    return result;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
    const TTestDatabase db;
    db.runScript(QStringLiteral("set term ^; execute block as declare i integer = 0; begin "
                                "while (i < %1) do begin insert into TBL_PRODUCTS (SID, DESCRIPTION) "
                                "values (:i, 'Product ' || :i); i = i + 1; end end^ set term ;^")
                     .arg(rows));
    TDbConnection conx;
    conx.setDatabase(db.path());
    conx.open();

    const auto fetchAll = [&] {
        TDbStatement q(conx);
        q.setSQL(QStringLiteral("select SID, DESCRIPTION from TBL_PRODUCTS"));
        for (q.open(); !q.eof(); q.next()) {
        }
        conx.commit();
    };
    const auto statements = [&] {
        TDbStatement q(conx);
        q.setSQL(QStringLiteral("select DESCRIPTION from TBL_PRODUCTS where SID = :SID"));
        for (int i = 0; i < kStatements; ++i) {
            q.setInt(0, i % rows);
            q.open();
        }
        conx.commit();
    };

    const double fetchServed = fastest(fetchAll);
    const double fetchInPlace = fastestElsewhere(fetchAll);
    const double runServed = fastest(statements);
    const double runInPlace = fastestElsewhere(statements);
    std::printf("%-40s %12s %12s %8s\n", "work (fastest of 5)", "served ms", "in place ms", "ratio");
    std::printf("%-40s %12.1f %12.1f %8.2f\n", QStringLiteral("%1 rows fetched").arg(rows).toUtf8().constData(),
                fetchServed, fetchInPlace, fetchServed / fetchInPlace);
    std::printf("%-40s %12.1f %12.1f %8.2f\n", "2000 short statements", runServed, runInPlace, runServed / runInPlace);
    std::printf("hand-over per call: %.1f us (fetches), %.1f us (statements, about 3 calls each)\n",
                (fetchServed - fetchInPlace) * 1000 / rows, (runServed - runInPlace) * 1000 / kStatements);
    return 0;
}

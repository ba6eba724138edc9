// The verified backup (backup, check restore, row counts) of the large site through
// the Firebird server on loopback, directly and behind a relay that holds every chunk
// 0, 1 and 10 ms each way, as over a slow link to the server:
//
//   build-*/bench/backup/backup_relay_bench --database FILE [--rounds N]
//
// FILE must be one the server may read (bench/catalogue/run.sh makes the large site
// so). Prints each route's median time and its ratio to the direct route, with the
// requests each phase made through the relay.
#include "backup/standin/jobs/BackupJob.h"
#include "bench/backup/BackupPhases.h"
#include "bench/catalogue/RelayedDatabase.h"
#include "util/Errors.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// The median seconds of `rounds` verified backups of `file` reached as `reach`.
double timeRoute(const char *name, const QString &reach, const QString &file, const TLoopbackRelay *relay, int rounds,
                 const QString &folder)
{
    std::printf("%s\n", name);
    std::vector<double> seconds;
    for (int round = 1; round <= rounds; ++round) {
        TBackupPhases phases(relay);
        QElapsedTimer timer;
        timer.start();
        const QString written =
            RunVerifiedBackup(reach, file, folder + QStringLiteral("/verified-%1").arg(round), phases);
        const qint64 total = timer.elapsed();
        seconds.push_back(total / 1000.0);
        std::printf("   round %d: %.2f s\n", round, total / 1000.0);
        phases.print(total);
        QFile::remove(written);
    }
    return medianOf(seconds);
}

int run(const QCoreApplication &app)
{
    QCommandLineParser parser;
    parser.addOptions(
        {{QStringLiteral("rounds"), QStringLiteral("Rounds on each route."), QStringLiteral("n"), QStringLiteral("3")},
         {QStringLiteral("database"), QStringLiteral("The database file, readable by the server."),
          QStringLiteral("file")}});
    parser.addHelpOption();
    parser.process(app);
    const int rounds = std::max(1, parser.value(QStringLiteral("rounds")).toInt());
    const QString file = parser.value(QStringLiteral("database"));
    if (file.isEmpty())
        throw EPosError(QStringLiteral("--database names the file to back up"));

    // The server writes the backups as its own user.
    QTemporaryDir work;
    QFile::setPermissions(work.path(), QFileDevice::Permissions(0x7777));

    const double direct = timeRoute("through the server on loopback", QStringLiteral("127.0.0.1:") + file, file,
                                    nullptr, rounds, work.path());
    std::printf("\nmedian: %.2f s directly\n", direct);
    for (int delay : {0, 1, 10}) {
        TLoopbackRelay relay(std::chrono::milliseconds(delay), kServerPort);
        relay.start();
        const QByteArray name = QStringLiteral("behind the relay, %1 ms each way").arg(delay).toUtf8();
        const double relayed =
            timeRoute(name.constData(), relayedDatabase(relay, file), file, &relay, rounds, work.path());
        std::printf("median: %.2f s %s, %.2f x the direct route (target: at most 1.5)\n\n", relayed, name.constData(),
                    relayed / direct);
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    return runBenchmark(app, "backup_relay_bench", run);
}

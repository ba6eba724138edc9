// The whole of Proceed (the checks before it, the verified backup, the update of every
// row at 9 % and the change record) on copies of the large site through the Firebird
// server on loopback, directly and behind a relay that holds every chunk 0, 1 and 10 ms
// each way, as over a slow link to the server:
//
//   build-*/bench/backup/proceed_relay_bench --database FILE [--rounds N]
//
// FILE must be one the server may read (bench/backup/run.sh makes the large site so);
// each round works on a fresh copy beside it. Everything shown is ticked, which is the
// most a Proceed can do. Prints each route's median time and its ratio to the direct
// route, with the requests each phase made through the relay.
#include "backup/standin/jobs/BackupJob.h"
#include "bench/backup/BackupPhases.h"
#include "bench/catalogue/RelayedDatabase.h"
#include "catalogue/core/Selection.h"
#include "catalogue/data/ShowData.h"
#include "catalogue/data/SiteID.h"
#include "catalogue/data/VatCodes.h"
#include "catalogue/runs/ChangeoverRun.h"
#include "database/DbConnection.h"
#include "database/DbStatement.h"
#include "dialogs/DialogAnswerer.h"
#include "dialogs/DialogCodes.h"
#include "util/Errors.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <vector>

namespace {

constexpr double kMostTimesTheDirectRoute = 2.0;
constexpr QFile::Permissions kOpenFile =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;

QString freshCopy(const QString &master)
{
    const QString copy = QFileInfo(master).dir().filePath(QStringLiteral("proceed-copy.fdb"));
    QFile::remove(copy);
    if (!QFile::copy(master, copy) || !QFile::setPermissions(copy, kOpenFile))
        throw EPosError(QStringLiteral("cannot copy ") + master);
    return copy;
}

// One Proceed on a fresh copy reached as `reach(copy)`, everything the window shows
// ticked, the operator answering Yes; the window's reading is done before the clock starts.
double timeProceed(const QString &master, const std::function<QString(const QString &)> &reach,
                   const TLoopbackRelay *relay, const QString &backupFolder)
{
    const QString copy = freshCopy(master);
    TDbConnection conx;
    conx.setDatabase(reach(copy));
    conx.open();
    TDbStatement q1(conx);
    const TShowData shown = loadShowData(conx, q1);
    const qint32 siteID = readSiteID(q1);
    conx.commit();
    TSelection selection;
    seedSelection(selection, shown.nodes);
    for (int node = 0; node < selection.nodeCount(); ++node)
        selection.setMarked(node, true);
    for (int product = 0; product < selection.productCount(); ++product)
        selection.setTicked(product, true);

    QString failure, done;
    setDialogAnswerer([&](const QString &message, int type) {
        if (type == mtError)
            failure = message;
        else if (type == mtInformation)
            done = message.section(QStringLiteral("\r\n"), -1).section(QLatin1Char(';'), 0, 0);
        return int(mrFirstButton); // Yes to the question, OK to the rest
    });
    TBackupPhases phases(relay);
    phases.step(QStringLiteral("Before the backup: the question, the connection, the trigger, other runs"));
    QElapsedTimer timer;
    timer.start();
    TChangeoverRun run({conx, q1, selection, shown.codes.newVID, siteID, QString()},
                       [&](const QString &serverPath, const QString &, qint32 site) -> std::optional<QString> {
                           const QString written = RunVerifiedBackup(
                               serverPath, copy, QDir(backupFolder).filePath(QStringLiteral("%1-proceed").arg(site)),
                               phases);
                           phases.step(QStringLiteral("The update and the change record"));
                           return written;
                       });
    run.run();
    const qint64 total = timer.elapsed();
    setDialogAnswerer({});
    if (!failure.isEmpty())
        throw EPosError(QStringLiteral("the Proceed failed: ") + failure);
    std::printf("   %.2f s, %s\n", total / 1000.0, qPrintable(done));
    phases.print(total);
    for (const QString &file : QDir(backupFolder).entryList(QDir::Files))
        QFile::remove(QDir(backupFolder).filePath(file));
    return total / 1000.0;
}

double timeRoute(const char *name, const QString &master, const std::function<QString(const QString &)> &reach,
                 const TLoopbackRelay *relay, int rounds, const QString &backupFolder)
{
    std::printf("%s\n", name);
    std::vector<double> seconds;
    for (int round = 1; round <= rounds; ++round) {
        std::printf("  round %d:", round);
        seconds.push_back(timeProceed(master, reach, relay, backupFolder));
    }
    return medianOf(seconds);
}

int run(const QCoreApplication &app)
{
    QCommandLineParser parser;
    parser.addOptions(
        {{QStringLiteral("rounds"), QStringLiteral("Rounds on each route."), QStringLiteral("n"), QStringLiteral("3")},
         {QStringLiteral("database"), QStringLiteral("The large site's database file, readable by the server."),
          QStringLiteral("file")}});
    parser.addHelpOption();
    parser.process(app);
    const int rounds = std::max(1, parser.value(QStringLiteral("rounds")).toInt());
    const QString master = QFileInfo(parser.value(QStringLiteral("database"))).absoluteFilePath();
    if (parser.value(QStringLiteral("database")).isEmpty())
        throw EPosError(QStringLiteral("--database names the large site's file"));

    // The server writes the backups as its own user.
    const QString backupFolder = QFileInfo(master).dir().filePath(QStringLiteral("proceed-backups"));
    QDir().mkpath(backupFolder);
    QFile::setPermissions(backupFolder, QFileDevice::Permissions(0x7777));

    const double direct = timeRoute(
        "through the server on loopback", master,
        [](const QString &file) { return QStringLiteral("127.0.0.1:") + file; }, nullptr, rounds, backupFolder);
    std::printf("median: %.2f s directly\n\n", direct);
    for (int delay : {0, 1, 10}) {
        TLoopbackRelay relay(std::chrono::milliseconds(delay), kServerPort);
        relay.start();
        const QByteArray name = QStringLiteral("behind the relay, %1 ms each way").arg(delay).toUtf8();
        const double relayed = timeRoute(
            name.constData(), master, [&](const QString &file) { return relayedDatabase(relay, file); }, &relay, rounds,
            backupFolder);
        std::printf("median: %.2f s %s, %.2f x the direct route (target: at most %.1f)\n\n", relayed, name.constData(),
                    relayed / direct, kMostTimesTheDirectRoute);
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    // The run's dialogs are answered before they show, but it still makes widgets.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return runBenchmark(app, "proceed_relay_bench", run);
}

// A verified backup of the large site beside a plain gbak backup of the same file,
// in the same run, a few rounds each:
//
//   build-*/bench/backup/backup_bench [--rounds N] [--database FILE]
//
// Without --database the large site is made first with pordane-make-site --bench.
// Prints each round's times and file sizes, the phases of the verified backup, and
// the median ratio of verified backup to plain backup.
#include "backup/standin/jobs/BackupJob.h"
#include "bench/backup/BackupPhases.h"
#include "util/Errors.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

void runOrFail(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        throw EPosError(QStringLiteral("%1 failed").arg(program));
}

double megabytes(const QString &file)
{
    return QFileInfo(file).size() / 1048576.0;
}

int run(const QCoreApplication &app)
{
    QCommandLineParser parser;
    parser.addOptions(
        {{QStringLiteral("rounds"), QStringLiteral("Rounds of each backup."), QStringLiteral("n"), QStringLiteral("3")},
         {QStringLiteral("database"), QStringLiteral("Back up this file instead of a new large site."),
          QStringLiteral("file")}});
    parser.addHelpOption();
    parser.process(app);
    const int rounds = std::max(1, parser.value(QStringLiteral("rounds")).toInt());

    QTemporaryDir work;
    QString database = parser.value(QStringLiteral("database"));
    if (database.isEmpty()) {
        runOrFail(QStringLiteral(PORDANE_MAKE_SITE),
                  {QStringLiteral("--bench"), QStringLiteral("--out"), work.path(), QStringLiteral("--replace")});
        database = work.filePath(QStringLiteral("bench.fdb"));
    }
    std::printf("database %s: %.1f MB\n", qPrintable(database), megabytes(database));

    std::vector<double> ratios;
    for (int round = 1; round <= rounds; ++round) {
        // The plain backup runs as its own process while this one holds nothing open.
        const QString plainFile = work.filePath(QStringLiteral("plain-%1.fbk").arg(round));
        QElapsedTimer timer;
        timer.start();
        runOrFail(QStringLiteral("gbak"),
                  {QStringLiteral("-b"), QStringLiteral("-user"), QStringLiteral("SYSDBA"), database, plainFile});
        const qint64 plain = timer.elapsed();

        TBackupPhases phases;
        timer.restart();
        const QString verified =
            RunVerifiedBackup(database, database, work.filePath(QStringLiteral("verified-%1").arg(round)), phases);
        const qint64 total = timer.elapsed();

        const double ratio = double(total) / double(std::max<qint64>(plain, 1));
        ratios.push_back(ratio);
        std::printf("round %d: plain gbak -b %.2f s, %.1f MB; verified backup %.2f s, %.1f MB; ratio %.2f\n", round,
                    plain / 1000.0, megabytes(plainFile), total / 1000.0, megabytes(verified), ratio);
        phases.print(total);
        QFile::remove(plainFile);
        QFile::remove(verified);
    }
    std::printf("median ratio of verified backup to plain backup: %.2f (target: at most 3)\n", medianOf(ratios));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    return runBenchmark(app, "backup_bench", run);
}

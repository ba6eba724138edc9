#pragma once
// What the backup benchmarks share: the stages of a verified backup with their times
// (and, behind a relay, the requests each made), a median, and the way a benchmark ends
// on an error.
#include "backup/standin/jobs/JobProgress.h"
#include "database/testing/relay/LoopbackRelay.h"
#include "util/Errors.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

// Notes when each stage of the verified backup begins, and the relay's request count then.
class TBackupPhases : public TJobProgress
{
public:
    explicit TBackupPhases(const TLoopbackRelay *relay = nullptr) : fRelay(relay) { fTimer.start(); }
    void step(const QString &what) override { fPhases.push_back({what, fTimer.elapsed(), requests()}); }
    void message(const QString &) override {}
    void percent(int) override {}
    bool cancelRequested() const override { return false; }

    void print(qint64 totalMs) const
    {
        for (size_t i = 0; i < fPhases.size(); ++i) {
            const bool last = i + 1 == fPhases.size();
            const qint64 endMs = last ? totalMs : fPhases[i + 1].ms;
            std::printf("      %6.2f s  ", (endMs - fPhases[i].ms) / 1000.0);
            if (fRelay)
                std::printf(
                    "%6lld requests  ",
                    static_cast<long long>((last ? requests() : fPhases[i + 1].requests) - fPhases[i].requests));
            std::printf("%s\n", qPrintable(fPhases[i].what));
        }
    }

private:
    struct TPhase
    {
        QString what;
        qint64 ms;
        qint64 requests;
    };
    qint64 requests() const { return fRelay ? fRelay->requests() : 0; }

    const TLoopbackRelay *fRelay;
    QElapsedTimer fTimer;
    std::vector<TPhase> fPhases;
};

inline double medianOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Runs the benchmark; an error is printed under its name and ends it with 1.
inline int runBenchmark(const QCoreApplication &app, const char *name,
                        const std::function<int(const QCoreApplication &)> &run)
{
    try {
        return run(app);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s: %s\n", name, qPrintable(errorText(e)));
        return 1;
    }
}

#include "bench/catalogue/TargetLine.h"

#include <cstdio>

void printTargetLine(const QString &label, const QString &figure, const QString &target, bool met)
{
    std::printf("  %-34s %-30s target %s: %s\n", qPrintable(label), qPrintable(figure), qPrintable(target),
                met ? "met" : "NOT MET");
}

bool printRatioTarget(const QString &label, double value, double baseline, double most, const QString &suffix)
{
    const double ratio = value / baseline;
    const bool met = ratio <= most;
    printTargetLine(label, QStringLiteral("%1x").arg(ratio, 0, 'f', 2) + suffix,
                    QStringLiteral("%1x or less").arg(most), met);
    return met;
}

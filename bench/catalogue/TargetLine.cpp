#include "TargetLine.h"

#include <cstdio>

void printTargetLine(const QString &label, const QString &figure, const QString &target, bool met)
{
    std::printf("  %-34s %-30s target %s: %s\n", qPrintable(label), qPrintable(figure), qPrintable(target),
                met ? "met" : "NOT MET");
}

#pragma once
// The benchmarks' figures beside their targets, one per line, aligned, so that a run
// reads as a list of what is met and what is not.
#include <QString>

// "  <label>  <figure>  target <target>: met" (or "NOT MET").
void printTargetLine(const QString &label, const QString &figure, const QString &target, bool met);

// "  <label>  <ratio>x<suffix>  target <most>x or less: met"; false when not met.
bool printRatioTarget(const QString &label, double value, double baseline, double most,
                      const QString &suffix = QString());

#pragma once
// The first place where two lists of text lines part, told so that a failing run shows
// what differed without a dump of both lists.
#include <QStringList>

// Empty when the lists are equal; otherwise what, the line number, and both lines (or
// which list ended first).
QString firstDifference(const QString &what, const QStringList &rowByRow, const QStringList &setBased);

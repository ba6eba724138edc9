#pragma once
// The message that reports a successful database compression.
#include <QString>
#include <QtGlobal>

// Sizes in bytes; an old size of 0 or less (empty or missing file) gives a rate of 0.
QString SweepReportText(qint64 oldSize, qint64 newSize);
